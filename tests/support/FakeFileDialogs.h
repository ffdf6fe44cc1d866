#pragma once

#include "DialogParent.h"
#include "FileDialogs.h"

#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace velmora::testing {

// Stands in for the open and save dialogs: answers are queued before the action and
// every dialog shown is recorded. With nothing queued a dialog is cancelled. A queued
// open answer of std::nullopt stands for a selection too large for the dialog.
class FakeFileDialogs : public FileDialogs {
public:
    struct Asked {
        QString title;
        QString filter;
        QWidget* parent;
    };

    QString openFiles(const QString& title, const QString& filter) override {
        openAsked.push_back({title, filter, dialogParent()});
        if (openAnswers.empty())
            return {};
        const bool tooLarge = !openAnswers.front().has_value();
        QString answer = openAnswers.front().value_or(QString());
        openAnswers.pop_front();
        if (tooLarge)
            throw SelectionTooLarge();
        return answer;
    }

    QString saveFile(const QString& title, const QString& filter) override {
        saveAsked.push_back({title, filter, dialogParent()});
        if (saveAnswers.empty())
            return {};
        QString answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }

    // The open dialog's answer for several files of one folder: folder NUL name NUL ...
    static QString selection(const QString& folder, const QStringList& names) {
        QString result = folder;
        for (const QString& name : names)
            result += QChar(0) + name;
        return result;
    }

    std::deque<std::optional<QString>> openAnswers;
    std::deque<QString> saveAnswers;
    std::vector<Asked> openAsked;
    std::vector<Asked> saveAsked;
};

// Stands in for the folder browser: queued answers, each request recorded; with nothing
// queued the browser is cancelled.
class FakeFolderBrowser : public FolderBrowser {
public:
    struct Asked {
        QString prompt;
        QString startFolder;
        QWidget* parent;
    };

    QString askForFolder(const QString& prompt, const QString& startFolder) override {
        asked.push_back({prompt, startFolder, dialogParent()});
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<QString> answers;
    std::vector<Asked> asked;
};

} // namespace velmora::testing
