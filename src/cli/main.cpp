#include "FindCommand.h"
#include "MemoryTuning.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

int main(int argc, char** argv) {
    velmora::tuneMemoryForLargeLists();
    QCoreApplication application(argc, argv);
    QFile input;
    QFile output;
    QFile errors;
    input.open(STDIN_FILENO, QIODevice::ReadOnly);
    output.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    errors.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return velmora::runFind(QCoreApplication::arguments().mid(1),
                            {input, output, errors, isatty(STDERR_FILENO) == 1});
}
