#include "SendToTrash.h"

#include "ErrorTrap.h"

#include <algorithm>

namespace velmora {

namespace {
constexpr qsizetype kListedFiles = 10;
constexpr std::size_t kListedFailures = 20;
} // namespace

TickedRows collectTickedRows(const ResultsList& list) {
    TickedRows ticked;
    const std::vector<ResultRow>& rows = list.rows();
    for (auto position = static_cast<int>(rows.size()); position >= 1; --position) {
        const ResultRow& row = rows[static_cast<std::size_t>(position - 1)];
        if (!row.checked)
            continue;
        ticked.paths << row.path;
        ticked.positions.push_back(position);
    }
    return ticked;
}

QString trashConfirmationText(const TickedRows& ticked) {
    const qsizetype count = ticked.paths.size();
    QString text = QStringLiteral("Move %1 file(s) to the trash?\n").arg(count);
    // Collected bottom up; the user reads the list top down.
    const qsizetype shown = std::min(count, kListedFiles);
    for (qsizetype index = 0; index < shown; ++index)
        text += QLatin1Char('\n') + ticked.paths.at(count - 1 - index);
    if (count > shown)
        text += QStringLiteral("\n... and %1 more.").arg(count - shown);
    return text;
}

QString trashFailureText(const std::vector<RecycleOutcome>& stayed) {
    if (stayed.empty())
        return {};
    QString text = QStringLiteral("%1 file(s) could not be moved to the trash and are still in "
                                  "place:\n")
                       .arg(stayed.size());
    for (std::size_t index = 0; index < stayed.size() && index < kListedFailures; ++index) {
        const RecycleOutcome& outcome = stayed[index];
        text += QLatin1Char('\n') + outcome.path + QStringLiteral(": ") + outcome.reason;
    }
    if (stayed.size() > kListedFailures)
        text += QStringLiteral("\n... and %1 more.").arg(stayed.size() - kListedFailures);
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
    trap.step(106, [&] { outcomes = shell.recycle(ticked.paths); });

    // The shell answers per path; a row goes only when its own file has gone. Paths the
    // shell did not answer for are treated as still there.
    std::vector<RecycleOutcome> stayed;
    trap.step(108, [&] {
        std::vector<int> removed;
        std::vector<TrashedRow> trashed;
        for (std::size_t index = 0; index < ticked.positions.size(); ++index) {
            const int position = ticked.positions[index];
            if (index >= outcomes.size() || !outcomes[index].gone ||
                outcomes[index].path != ticked.paths.at(static_cast<qsizetype>(index))) {
                RecycleOutcome kept = index < outcomes.size() ? outcomes[index] : RecycleOutcome{};
                kept.path = ticked.paths.at(static_cast<qsizetype>(index));
                if (kept.reason.isEmpty())
                    kept.reason = QStringLiteral("The trash did not take it.");
                stayed.push_back(kept);
                continue;
            }
            removed.push_back(position);
            if (!outcomes[index].trashedFile.isEmpty())
                trashed.push_back({position, list.rows()[static_cast<std::size_t>(position - 1)],
                                   outcomes[index].trashedFile});
        }
        if (!removed.empty()) {
            list.removePositions(removed);
            undo.record(std::move(trashed));
        }
        // Bottom-up collection order; the message reads top down like the list.
        std::reverse(stayed.begin(), stayed.end());
    });
    trap.step(110, [&] {
        if (!stayed.empty())
            messages.show(trashFailureText(stayed));
    });
}

} // namespace velmora
