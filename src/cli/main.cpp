#include "FindCommand.h"
#include "Interruption.h"
#include "MemoryTuning.h"
#include "NameBytes.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A standard stream the caller closed keeps its number taken, so no file this program
// opens can land there; it is opened the wrong way round, so using it fails as "Bad file
// descriptor" and is reported like any other failure.
void holdClosedStandardStreams() {
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(descriptor, F_GETFD) >= 0)
            continue;
        const int reopened = open("/dev/null", descriptor == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (reopened >= 0 && reopened != descriptor) {
            dup2(reopened, descriptor);
            close(reopened);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    holdClosedStandardStreams();
    velmora::tuneMemoryForLargeLists();
    const bool errorsIsTerminal = isatty(STDERR_FILENO) == 1;
    const velmora::Interruption interruption(errorsIsTerminal);
    QCoreApplication application(argc, argv);
    // Taken from the bytes themselves: a name that is not UTF-8 still opens its file.
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(velmora::argumentFromBytes(argv[index]));
    QFile input;
    QFile output;
    QFile errors;
    input.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered);
    output.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    errors.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    const int status = velmora::runFind(arguments, {input, output, errors, errorsIsTerminal},
                                        interruption.stopToken());
    return interruption.stopToken().stop_requested() ? velmora::kInterrupted : status;
}
