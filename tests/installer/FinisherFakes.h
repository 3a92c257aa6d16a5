#pragma once

#include "CommandStarter.h"
#include "ComponentProbe.h"
#include "FileSystem.h"
#include "FinisherUi.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>

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

    std::optional<QString> findDirectory(const QString& parent, const QString& name) const override {
        for (const QString& directory : m_directories) {
            const QFileInfo info(directory);
            if (info.path() == parent && info.fileName().compare(name, Qt::CaseInsensitive) == 0)
                return directory;
        }
        return std::nullopt;
    }
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
    explicit RecordingStarter(Journal& journal, QStringList unknownPrograms = {})
        : m_journal(journal), m_unknownPrograms(std::move(unknownPrograms)) {}
    // Programs not on the search path cannot be started.
    bool start(const QString& commandText) override {
        m_journal.entries.append(QStringLiteral("start ") + commandText);
        return !m_unknownPrograms.contains(commandText.section(u' ', 0, 0));
    }

private:
    Journal& m_journal;
    QStringList m_unknownPrograms;
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

// A component that is there or not, as scripted; a blocking one waits until asked to stop, as
// an office that is slow to start would.
class FakeProbe : public ComponentProbe {
public:
    FakeProbe(QString name, QString package, bool present, bool blocks = false)
        : m_name(std::move(name)), m_package(std::move(package)), m_present(present), m_blocks(blocks) {}
    QString name() const override { return m_name; }
    QString package() const override { return m_package; }
    bool isPresent(std::stop_token stop) override {
        ++checks;
        if (m_blocks) {
            std::mutex mutex;
            std::condition_variable_any never;
            std::unique_lock lock(mutex);
            never.wait(lock, stop, [] { return false; });
            sawStop = stop.stop_requested();
        }
        return m_present;
    }
    std::atomic<int> checks = 0;
    std::atomic<bool> sawStop = false;

private:
    QString m_name;
    QString m_package;
    bool m_present;
    bool m_blocks;
};
