#include "SendToTrash.h"

#include "ErrorTrap.h"

#include <algorithm>

namespace velmora {

namespace {
constexpr qsizetype kListedFiles = 10;
// Both sections of the failure message together: more would make the box taller than a
// 768-pixel screen and push its OK button off the bottom.
constexpr std::size_t kListedFailures = 20;

QString failureLine(const RecycleOutcome& outcome) {
    switch (outcome.check) {
    case TrashCheck::NoLongerAFile:
        return outcome.path + QStringLiteral(" is no longer a file.");
    case TrashCheck::NoLongerThere:
        return outcome.path + QStringLiteral(" was no longer there.");
    case TrashCheck::SameEntryKept:
        return outcome.path + QStringLiteral(" is the same file as ") + outcome.keptPath +
               QStringLiteral(", which is kept.");
    case TrashCheck::Passed:
        break;
    }
    return outcome.path + QStringLiteral(": ") + outcome.reason;
}

// The first few of paths collected bottom up, one a line, top down as the list shows them.
QString listedPaths(const QStringList& bottomUp) {
    QString text;
    const qsizetype count = bottomUp.size();
    const qsizetype shown = std::min(count, kListedFiles);
    for (qsizetype index = 0; index < shown; ++index)
        text += QLatin1Char('\n') + bottomUp.at(count - 1 - index);
    if (count > shown)
        text += QStringLiteral("\n... and %1 more.").arg(count - shown);
    return text;
}

// A paragraph of its own, in the singular for one.
QString countSentence(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("\n\n") +
           (count == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(count));
}

} // namespace

TickedRows collectTickedRows(const ResultsList& list) {
    TickedRows ticked;
    const std::vector<ResultRow>& rows = list.rows();
    for (auto position = static_cast<int>(rows.size()); position >= 1; --position) {
        const ResultRow& row = rows[static_cast<std::size_t>(position - 1)];
        if (!row.checked) {
            ticked.untickedPaths << row.path;
            continue;
        }
        ticked.paths << row.path;
        ticked.positions.push_back(position);
        if (!list.contentsCompared())
            continue;
        ticked.contentsCompared = true;
        const ContentFact* fact = list.contentFactOf(row);
        if (!fact)
            ++ticked.notComparedYet;
        else if (fact->verdict == ContentVerdict::Same)
            ++ticked.copies;
        else if (fact->verdict == ContentVerdict::Different)
            ticked.notCopies << row.path;
        else
            ++ticked.notComparable;
    }
    return ticked;
}

QString trashConfirmationText(const TickedRows& ticked) {
    QString text = QStringLiteral("Move %1 file(s) to the trash?\n").arg(ticked.paths.size()) +
                   listedPaths(ticked.paths);
    if (!ticked.contentsCompared)
        return text;
    if (ticked.copies > 0)
        text += countSentence(ticked.copies, "1 of these is an exact copy of the file it matched.",
                              "%1 of these are exact copies of the file they matched.");
    if (!ticked.notCopies.isEmpty())
        text += countSentence(ticked.notCopies.size(),
                              "1 of these is not a copy of the file it matched:",
                              "%1 of these are not copies of the file they matched:") +
                listedPaths(ticked.notCopies);
    if (ticked.notComparable > 0)
        text += countSentence(ticked.notComparable,
                              "1 of these could not be compared with the file it matched.",
                              "%1 of these could not be compared with the file they matched.");
    if (ticked.notComparedYet > 0)
        text +=
            countSentence(ticked.notComparedYet,
                          "1 of these is still being compared: it is not known to be a copy.",
                          "%1 of these are still being compared: they are not known to be copies.");
    return text;
}

QString trashFailureText(const std::vector<RecycleOutcome>& reported) {
    std::vector<const RecycleOutcome*> inPlace;
    std::vector<const RecycleOutcome*> gone;
    bool listOutdated = false;
    bool sharedEntry = false;
    for (const RecycleOutcome& outcome : reported) {
        (outcome.gone ? gone : inPlace).push_back(&outcome);
        listOutdated = listOutdated || outcome.check == TrashCheck::NoLongerAFile ||
                       outcome.check == TrashCheck::NoLongerThere;
        sharedEntry = sharedEntry || outcome.check == TrashCheck::SameEntryKept;
    }
    QString text;
    const auto addSection = [&text](const QString& heading,
                                    const std::vector<const RecycleOutcome*>& outcomes,
                                    std::size_t listed) {
        if (outcomes.empty())
            return;
        if (!text.isEmpty())
            text += QStringLiteral("\n\n");
        text += heading.arg(outcomes.size()) + QLatin1Char('\n');
        for (std::size_t index = 0; index < outcomes.size() && index < listed; ++index)
            text += QLatin1Char('\n') + failureLine(*outcomes[index]);
        if (outcomes.size() > listed)
            text += QStringLiteral("\n... and %1 more.").arg(outcomes.size() - listed);
    };
    // Each section keeps at least half of the lines when the other needs them.
    const std::size_t inPlaceListed = kListedFailures - std::min(gone.size(), kListedFailures / 2);
    const std::size_t goneListed = kListedFailures - std::min(inPlace.size(), inPlaceListed);
    addSection(QStringLiteral("%1 file(s) could not be moved to the trash and are still in place:"),
               inPlace, inPlaceListed);
    addSection(QStringLiteral("%1 file(s) had gone before the trash reached them; their rows "
                              "were removed:"),
               gone, goneListed);
    if (listOutdated)
        text += QStringLiteral("\n\nThe files changed after the list was made: Start Finding "
                               "again to see them as they are now.");
    if (sharedEntry)
        text += QStringLiteral("\n\nA file shown under two paths goes to the trash only when "
                               "every row that shows it is ticked.");
    return text;
}

void SendTickedFilesToTrash(ResultsList& list, MessageBoxes& messages, DesktopShell& shell,
                            TrashUndo& undo) {
    ErrorTrap trap(messages, QStringLiteral("Form2"), QStringLiteral("PushButton2_Click"));
    TickedRows ticked;
    std::vector<RecycleOutcome> outcomes;

    trap.step(100, [&] { ticked = collectTickedRows(list); });
    if (trap.test(102, [&] { return ticked.empty(); })) {
        messages.show(QStringLiteral("No files selected."));
        return;
    }
    bool confirmed = false;
    trap.step(104, [&] {
        confirmed = messages.show(trashConfirmationText(ticked), MessageBoxes::Buttons::YesNo) ==
                    MessageBoxes::Answer::Yes;
    });
    if (!confirmed)
        return;
    trap.step(106, [&] { outcomes = shell.recycle(ticked.paths, ticked.untickedPaths); });

    // The shell answers per path; a row goes only when its own file has gone. Paths the
    // shell did not answer for are treated as still there. A file that was gone before
    // the trash reached it is named too: the user ticked something that was not moved.
    std::vector<RecycleOutcome> reported;
    trap.step(108, [&] {
        std::vector<int> removed;
        std::vector<TrashedRow> trashed;
        for (std::size_t index = 0; index < ticked.positions.size(); ++index) {
            const int position = ticked.positions[index];
            const bool answered =
                index < outcomes.size() &&
                outcomes[index].path == ticked.paths.at(static_cast<qsizetype>(index));
            if (!answered || !outcomes[index].gone) {
                RecycleOutcome kept = answered ? outcomes[index] : RecycleOutcome{};
                kept.path = ticked.paths.at(static_cast<qsizetype>(index));
                if (kept.reason.isEmpty())
                    kept.reason = QStringLiteral("The trash did not take it.");
                reported.push_back(kept);
                continue;
            }
            removed.push_back(position);
            if (outcomes[index].check == TrashCheck::NoLongerThere)
                reported.push_back(outcomes[index]);
            if (!outcomes[index].trashedFile.isEmpty())
                trashed.push_back({position, list.rows()[static_cast<std::size_t>(position - 1)],
                                   outcomes[index].trashedFile});
        }
        if (!removed.empty()) {
            list.removePositions(removed);
            undo.record(std::move(trashed));
        }
        // Bottom-up collection order; the message reads top down like the list.
        std::reverse(reported.begin(), reported.end());
    });
    trap.step(110, [&] {
        if (!reported.empty())
            messages.show(trashFailureText(reported));
    });
}

} // namespace velmora
