#pragma once

#include "ContentFacts.h"
#include "DuplicateSearch.h"
#include "WriteProgress.h"

#include <QIODevice>
#include <QString>

#include <vector>

namespace velmora {

// How each row says why it is there: by the partner's likeness (similarity mode) or by
// the first name-key stage that was equal (option mode).
enum class ReasonKind { Ratio, Stage };

// "1" or "0", a tab and the path; each record ends in LF, or in NUL with `nulSeparated`.
WriteOutcome writeRowLines(const std::vector<ResultRow>& rows, QIODevice& output,
                           bool nulSeparated);

// JSON Lines: one object per row, {"path", "ticked", "partner", and "ratio" or "stage"},
// and "content" when given a fact per row.
WriteOutcome writeJsonLines(const std::vector<ResultRow>& rows, ReasonKind reason,
                            QIODevice& output, const std::vector<ContentFact>* content = nullptr);

// RFC 4180, with the header ticked,path,partner,ratio,stage; the reason the mode does not
// give stays empty. A content column follows only when given a fact per row.
WriteOutcome writeCsv(const std::vector<ResultRow>& rows, ReasonKind reason, QIODevice& output,
                      const std::vector<ContentFact>* content = nullptr);

// `text` as a JSON string, quotes included.
void appendJsonString(QString& line, QStringView text);
// The shortest decimal that reads back as exactly `number`.
void appendRoundTripNumber(QString& line, double number);
QString stageName(MatchStage stage); // empty for None

} // namespace velmora
