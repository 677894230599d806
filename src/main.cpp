// Placeholder until the window lands: loads the language file from the current
// directory and prints the table.
#include "platform/process_list.h"
#include "shell/whole_data.h"

#include <iostream>

int main()
{
    quorlin::CWholeData data(quorlin::systemProcessList());
    std::cout << "MyType=" << data.languageType << '\n';
    for (const auto& s : *data.languageTable.snapshot())
        std::cout << s << '\n';
    return 0;
}
