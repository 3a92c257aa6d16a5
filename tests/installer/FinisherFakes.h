#pragma once

#include "CommandStarter.h"
#include "FileSystem.h"
#include "FinisherUi.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringList>

// Fakes that write what the finisher does into one shared journal, so a test sees the
// order of messages, yields, copies and command starts together.
struct Journal {
    QStringList entries;
};

class FakeFileSystem : public FileSystem {
public:
    explicit FakeFileSystem(Journal& journal) : m_journal(journal) {}

    void addDirectory(const QString& path) { m_directories.insert(path); }
    void addFile(const QString& path) {
        m_files.insert(path);
        m_directories.insert(QFileInfo(path).path());
    }
    void failCopyTo(const QString& target, CopyResult result) { m_failures.insert(target, result); }
    bool hasFile(const QString& path) const { return m_files.contains(path); }

    bool isDirectory(const QString& path) const override { return m_directories.contains(path); }
    std::optional<QString> findFile(const QString& directory, const QString& fileName) const override {
        for (const QString& file : m_files) {
            const QFileInfo info(file);
            if (info.path() == directory && info.fileName().compare(fileName, Qt::CaseInsensitive) == 0)
                return file;
        }
        return std::nullopt;
    }
    CopyResult copyFile(const QString& source, const QString& target) override {
        m_journal.entries.append(QStringLiteral("copy %1 -> %2").arg(source, target));
        if (m_failures.contains(target)) return m_failures.value(target);
        if (m_files.contains(target)) return {CopyStatus::AlreadyPresent, {}};
        m_files.insert(target);
        return {CopyStatus::Copied, {}};
    }

private:
    Journal& m_journal;
    QSet<QString> m_directories;
    QSet<QString> m_files;
    QHash<QString, CopyResult> m_failures;
};

class RecordingStarter : public CommandStarter {
public:
    explicit RecordingStarter(Journal& journal) : m_journal(journal) {}
    bool start(const QString& commandText) override {
        m_journal.entries.append(QStringLiteral("start ") + commandText);
        return true;
    }

private:
    Journal& m_journal;
};

class RecordingUi : public FinisherUi {
public:
    explicit RecordingUi(Journal& journal) : m_journal(journal) {}
    void showMessage(const QString& text) override {
        m_journal.entries.append(QStringLiteral("message ") + text);
    }
    void yieldEvents() override { m_journal.entries.append(QStringLiteral("yield")); }

private:
    Journal& m_journal;
};
