// The option keys and the whole search on small lists against the literal pair-by-pair
// search: a key stage, a group or a row order that differs from it is a finding.
#include "DuplicateSearch.h"
#include "FuzzInput.h"
#include "NameKeys.h"
#include "ReferenceSearch.h"
#include "SimilarFilename.h"

#include <cstddef>
#include <cstdint>

using velmora::PathStyle;
using velmora::SearchOptions;
using velmora::fuzzing::FuzzInput;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t settings = input.takeByte();
    const bool rawUnits = (settings & 1) != 0;
    const PathStyle style = (settings & 2) != 0 ? PathStyle::Windows : PathStyle::Posix;
    SearchOptions options;
    // 0, 1 and 2 (greyed, which counts as off), and now and then a value no box holds.
    options.Check1 = input.takeByte() % 4;
    options.Check2 = input.takeByte() % 4;
    options.Check3 = input.takeByte() % 4;

    // Two option texts, then up to eight paths: the literal search is quadratic in the rows.
    QStringList texts = input.takeTexts(10, 48, rawUnits);
    options.Text1 = texts.value(0);
    options.Text2 = texts.value(1);
    const QStringList paths = texts.mid(2);

    for (qsizetype a = 0; a < paths.size(); ++a)
        for (qsizetype b = 0; b < paths.size(); ++b)
            VELMORA_FUZZ_EXPECT(
                velmora::MatchByOptions(paths[a], paths[b], options, style) ==
                    velmora::reference::MatchByOptions(paths[a], paths[b], options, style),
                texts);

    velmora::SearchHooks hooks;
    hooks.threads = 1;
    const auto found = velmora::findDuplicates(paths, options, style, hooks);
    const auto literal =
        velmora::reference::findDuplicates(paths, options, style, velmora::SimilarityRatio);
    VELMORA_FUZZ_EXPECT(found == literal, texts);
    return 0;
}
