#include "SaveResults.h"

#include "ErrorTrap.h"
#include "ProperlySpacedText.h"
#include "ResultsListColumns.h"
#include "SaveTarget.h"

namespace velmora {

QString overwriteQuestion(const QString& fileName) {
    return QStringLiteral("Are you sure you wish to overwrite ") + fileName + QStringLiteral(" ?");
}

void SaveResultsAsTextFile(const ResultsList& list, Services& services, WindowPointer& pointer,
                           const WriteProgress& progress) {
    MessageBoxes& messages = services.messages;
    ErrorTrap trap(messages, QStringLiteral("Form2"), QStringLiteral("PushButton6_Click"));
    QString fileName;
    // The dialog is shown with an empty name, the title "Save" and the two filters; it
    // asks nothing about replacing a file, which is asked below.
    trap.step(100, [&] {
        fileName = services.fileDialogs.saveFile(kSaveDialogTitle, kSaveDialogFilter);
    });
    if (!trap.test(102, [&] { return !fileName.isEmpty(); }))
        return;
    // The name is used exactly as typed: no extension is added. A folder, pipe or device
    // is refused before the question, since answering Yes could not replace it anyway.
    bool goOn = true;
    trap.step(104, [&] {
        const SaveTarget target = saveTargetFor(fileName);
        if (target.way == SaveTarget::Way::Refuse) {
            goOn = false;
            messages.show(refusedSaveMessage(fileName), MessageBoxes::Buttons::Ok,
                          MessageBoxes::Icon::Exclamation);
        } else if (target.existing) {
            goOn = messages.show(overwriteQuestion(fileName), MessageBoxes::Buttons::YesNo) ==
                   MessageBoxes::Answer::Yes;
        }
    });
    if (!goOn)
        return;
    trap.step(106, [&] { pointer.setBusy(); });
    WriteOutcome written = WriteOutcome::failure(QString());
    const bool ran = trap.step(108, [&] {
        written = SaveListviewProperlySpaced(ResultsListColumns(list), fileName, progress);
    });
    trap.step(110, [&] { pointer.setDefault(); });
    // A failure the trap already reported is not announced a second time, nor as done.
    if (!ran)
        return;
    trap.step(112, [&] {
        if (written.ok)
            messages.show(QStringLiteral("Done."));
        else
            messages.show(written.error, MessageBoxes::Buttons::Ok,
                          MessageBoxes::Icon::Exclamation);
    });
}

} // namespace velmora
