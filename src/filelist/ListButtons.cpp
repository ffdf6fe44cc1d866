#include "ListButtons.h"

#include "ErrorTrap.h"
#include "ListFilters.h"

#include <QString>

#include <functional>

namespace velmora {

namespace {

using Filter = std::function<void(FileList&, const QString&)>;

void runFilter(MessageBoxes& messages, FileList& list, WindowPointer& pointer,
               const QString& procedure, const QString& promptText, const Filter& filter) {
    ErrorTrap trap(messages, QStringLiteral("Form1"), procedure);

    QString text;
    trap.step(100, [&] { text = messages.prompt(promptText, QString()); });
    if (text.isEmpty())
        return;
    trap.step(102, [&] { pointer.setBusy(); });
    trap.step(104, [&] { filter(list, text); });
    trap.step(106, [&] { pointer.setDefault(); });
}

} // namespace

void PushButton5_Click(FileList& list, const WindowPointer& pointer) {
    if (pointer.isBusy())
        return;
    list.Clear();
}

void PushButton6_Click(MessageBoxes& messages, FileList& list, WindowPointer& pointer) {
    runFilter(messages, list, pointer, QStringLiteral("PushButton6_Click"),
              QStringLiteral("Remove entries containing: "), RemoveEntriesContaining);
}

void PushButton10_Click(MessageBoxes& messages, FileList& list, WindowPointer& pointer) {
    runFilter(messages, list, pointer, QStringLiteral("PushButton10_Click"),
              QStringLiteral("Remove entries not containing: "), RemoveEntriesNotContaining);
}

} // namespace velmora
