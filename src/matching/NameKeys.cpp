#include "NameKeys.h"

namespace velmora {

QStringView fileNameView(QStringView path, PathStyle style) {
    const qsizetype last = path.lastIndexOf(QChar(separatorOf(style)));
    return last < 0 ? path : path.mid(last + 1);
}

QStringView withoutExtensionView(QStringView name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    // A dot in first place starts a hidden name rather than an extension.
    return dot >= 1 ? name.left(dot) : name;
}

std::vector<KeyStage> enabledKeyStages(const SearchOptions& options) {
    std::vector<KeyStage> stages;
    if (options.ignoreExtensionOn())
        stages.push_back(KeyStage::Extension);
    // An empty text would find nothing to cut at; the stage then neither cuts nor compares.
    if (options.beforeOn() && !options.Text1.isEmpty())
        stages.push_back(KeyStage::Before);
    if (options.afterOn() && !options.Text2.isEmpty())
        stages.push_back(KeyStage::After);
    return stages;
}

QStringView applyKeyStage(KeyStage stage, QStringView key, const SearchOptions& options) {
    switch (stage) {
    case KeyStage::Extension:
        return withoutExtensionView(key);
    case KeyStage::Before: {
        const qsizetype found = key.indexOf(QStringView(options.Text1), 0, Qt::CaseInsensitive);
        // The first character of the occurrence stays with the key.
        return found < 0 ? key : key.left(found + 1);
    }
    case KeyStage::After: {
        const QStringView text(options.Text2);
        const qsizetype found = key.indexOf(text, 0, Qt::CaseInsensitive);
        return found < 0 ? key : key.mid(found + text.size());
    }
    }
    return key;
}

QString GetFileNameFromPath(const QString& path, PathStyle style) {
    return fileNameView(path, style).toString();
}

QString RemoveFileExtension(const QString& name) {
    return withoutExtensionView(name).toString();
}

bool MatchByOptions(const QString& a, const QString& b, const SearchOptions& options,
                    PathStyle style) {
    bool matched = a == b;
    QStringView keyA = fileNameView(a, style);
    QStringView keyB = fileNameView(b, style);
    for (const KeyStage stage : enabledKeyStages(options)) {
        keyA = applyKeyStage(stage, keyA, options);
        keyB = applyKeyStage(stage, keyB, options);
        matched = matched || keyA == keyB;
    }
    return matched;
}

} // namespace velmora
