// A bare Qt dialog of a given size: what the main window's start-up and memory are
// compared with. With TEXT it also shows one label: the least a window with any text
// loads (fontconfig, FreeType, HarfBuzz, a font).
//   quorlin-bench-bare WIDTH HEIGHT [TEXT]
#include <QApplication>
#include <QDialog>
#include <QLabel>

#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setFixedSize(argc > 2 ? std::atoi(argv[1]) : 480, argc > 2 ? std::atoi(argv[2]) : 325);
    if (argc > 3)
        (new QLabel(QString::fromLocal8Bit(argv[3]), &dialog))->move(10, 10);
    dialog.show();
    return app.exec();
}
