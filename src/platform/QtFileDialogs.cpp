#include "QtFileDialogs.h"

#include "DialogParent.h"

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QTreeView>

namespace velmora {

QStringList nameFiltersFromBarList(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype index = 0; index + 1 < parts.size(); index += 2) {
        QString description = parts.at(index).trimmed();
        // The description often repeats its patterns in brackets; the toolkit would read
        // them from there, so they are replaced by the real list.
        const qsizetype bracket = description.lastIndexOf(QLatin1Char('('));
        if (bracket > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(bracket).trimmed();
        QStringList patterns = parts.at(index + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        if (patterns.isEmpty())
            continue;
        result << description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

namespace {

bool isWithin(const QString& folder, const QString& path) {
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

QString composeSelection(const QStringList& paths, qsizetype capacity) {
    QString result;
    if (paths.size() == 1) {
        result = paths.first();
    } else if (paths.size() > 1) {
        // A dialog lists one folder, but typed names may point elsewhere: the common
        // folder keeps every name reachable.
        QString folder = QFileInfo(paths.first()).absolutePath();
        for (const QString& path : paths) {
            while (!isWithin(folder, path) && folder != QLatin1String("/"))
                folder = QFileInfo(folder).absolutePath();
        }
        const QDir base(folder);
        result = folder;
        for (const QString& path : paths) {
            result += QChar(0);
            result += base.relativeFilePath(path);
            if (result.size() > capacity)
                break;
        }
    }
    if (result.size() > capacity)
        throw SelectionTooLarge();
    return result;
}

void DialogSize::applyTo(QFileDialog& dialog) const {
    QSize size = size_;
    // Never larger than the screen it opens on.
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableSize());
    dialog.resize(size);

    // The toolkit sizes the detail columns for texts shorter than the sizes, kinds and
    // dates it then shows, which it cuts short; widths the user chose that are wider stay.
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return;
    const QFontMetrics metrics(view->font());
    const QString longest[] = {
        QStringLiteral("1023.99 KiB"),
        QStringLiteral("OpenDocument Spreadsheet"),
        QLocale::system().toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59, 59)),
                                   QLocale::ShortFormat),
    };
    QHeaderView* header = view->header();
    const int padding = 4 * metrics.averageCharWidth();
    for (int column = 1; column <= 3 && column < header->count(); ++column) {
        const int wanted = metrics.horizontalAdvance(longest[column - 1]) + padding;
        if (header->sectionSize(column) < wanted)
            header->resizeSection(column, wanted);
    }
}

bool DialogSize::show(QFileDialog& dialog) {
    const bool accepted = dialog.exec() == QDialog::Accepted;
    size_ = dialog.size();
    return accepted;
}

std::unique_ptr<QFileDialog> QtFileDialogs::openDialog(const QString& title,
                                                       const QString& filter) const {
    auto dialog = std::make_unique<QFileDialog>(dialogParent(), title);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFiles);
    dialog->setNameFilters(nameFiltersFromBarList(filter));
    size_.applyTo(*dialog);
    return dialog;
}

QString QtFileDialogs::openFiles(const QString& title, const QString& filter) {
    const auto dialog = openDialog(title, filter);
    if (!size_.show(*dialog))
        return {};
    return composeSelection(dialog->selectedFiles(), selectionCapacity);
}

std::unique_ptr<QFileDialog> QtFileDialogs::saveDialog(const QString& title,
                                                       const QString& filter) const {
    auto dialog = std::make_unique<QFileDialog>(dialogParent(), title);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // The program asks about replacing an existing file itself.
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setNameFilters(nameFiltersFromBarList(filter));
    size_.applyTo(*dialog);
    return dialog;
}

QString QtFileDialogs::saveFile(const QString& title, const QString& filter) {
    const auto dialog = saveDialog(title, filter);
    if (!size_.show(*dialog))
        return {};
    return dialog->selectedFiles().value(0);
}

std::unique_ptr<QFileDialog> QtFolderBrowser::folderDialog(const QString& prompt,
                                                           const QString& startFolder) const {
    auto dialog = std::make_unique<QFileDialog>(dialogParent(), prompt);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    if (!startFolder.isEmpty()) {
        const QFileInfo start(startFolder);
        dialog->setDirectory(start.absolutePath());
        dialog->selectFile(start.fileName());
    }
    size_.applyTo(*dialog);
    return dialog;
}

QString QtFolderBrowser::askForFolder(const QString& prompt, const QString& startFolder) {
    const auto dialog = folderDialog(prompt, startFolder);
    if (!size_.show(*dialog))
        return {};
    const QString chosen = dialog->selectedFiles().value(0);
    return chosen.isEmpty() ? QString() : QDir::cleanPath(chosen);
}

} // namespace velmora
