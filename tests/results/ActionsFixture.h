#pragma once

#include "Form2.h"
#include "QStringPrinter.h"
#include "TestServices.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace velmora::testing {

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The results window with scripted dialogs and the real trash of this test program (its
// own XDG_DATA_HOME). Files live in a scratch folder beside that trash, so they are on
// its file system and go to it rather than to a trash at the top of another mount.
class ActionsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dataHome = qEnvironmentVariable("XDG_DATA_HOME");
        ASSERT_FALSE(dataHome.isEmpty()) << "the test registration sets XDG_DATA_HOME";
        ASSERT_TRUE(QDir().mkpath(dataHome));
        scratch.emplace(dataHome + QStringLiteral("/scratch-XXXXXX"));
        ASSERT_TRUE(scratch->isValid());
        form = std::make_unique<Form2>(
            fakes.services(), [] {}, [] {});
    }

    QString path(const QString& name) const { return scratch->filePath(name); }

    // Makes a file whose contents are its own name, so a restored file can be recognised.
    QString makeFile(const QString& name) {
        const QString full = path(name);
        QDir().mkpath(QFileInfo(full).path());
        EXPECT_TRUE(writeBytes(full, name.toUtf8()));
        return full;
    }

    // Rows for the given files (made on disk), ticked where asked.
    void fillWithFiles(const QStringList& names, const std::vector<int>& tickedPositions) {
        std::vector<ResultRow> rows;
        for (const QString& name : names)
            rows.push_back({makeFile(name), false});
        for (int position : tickedPositions)
            rows[static_cast<std::size_t>(position - 1)].checked = true;
        form->resultsList().setRows(std::move(rows));
    }

    QStringList rowPaths() const {
        QStringList paths;
        for (const ResultRow& row : form->resultsList().rows())
            paths << row.path;
        return paths;
    }

    std::vector<bool> rowTicks() const {
        std::vector<bool> ticks;
        for (const ResultRow& row : form->resultsList().rows())
            ticks.push_back(row.checked);
        return ticks;
    }

    QString trashFiles() const { return dataHome + QStringLiteral("/Trash/files"); }
    QString trashInfo() const { return dataHome + QStringLiteral("/Trash/info"); }

    QString dataHome;
    std::optional<QTemporaryDir> scratch;
    TestServices fakes;
    FakeMessageBoxes& messages = fakes.messages;
    std::unique_ptr<Form2> form;
};

} // namespace velmora::testing
