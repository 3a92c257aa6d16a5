#pragma once

#include <QString>

#include <optional>

class CommandStarter;
class FileSystem;
class FinisherUi;

struct FinisherSettings {
    std::optional<QString> windir;   // the "windir" environment value, if set
    QString sourceDirectory;         // the folder holding the finisher, native separators
    bool sixtyFourBitSystem = false; // what the Linux message says; Windows looks at its folders
};

// True when "windir" names a Windows tree to work on; otherwise the finisher runs on this
// platform's own terms (see LinuxComponents).
bool runsTheWindowsSequence(const FinisherSettings& settings);

// The finisher's work between the single-instance check and the closing countdown: the
// bitness message, copying the missing components, registering them and marking the two
// executables for the compatibility layer.
class Finisher {
public:
    Finisher(FileSystem& fileSystem, CommandStarter& starter, FinisherUi& ui);

    void run(const FinisherSettings& settings);

private:
    void copyMissingComponents(const QString& sourceDirectory, const QString& systemDirectory);
    void registerComponents(const QString& systemDirectory);
    void markForCompatibility(const QString& sourceDirectory, const QString& systemDirectory);
    bool startCommand(const QString& commandText);
    void appendToMessage(const QString& text);

    FileSystem& m_fileSystem;
    CommandStarter& m_starter;
    FinisherUi& m_ui;
    QString m_message;
};
