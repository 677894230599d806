// A bare Qt dialog of a given size: what the main window's start-up and memory are
// compared with.
//   quorlin-bench-bare WIDTH HEIGHT
#include <QApplication>
#include <QDialog>

#include <cstdlib>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setFixedSize(argc > 2 ? std::atoi(argv[1]) : 480, argc > 2 ? std::atoi(argv[2]) : 325);
    dialog.show();
    return app.exec();
}
