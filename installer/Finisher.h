#pragma once

#include <QString>

#include <optional>

class CommandStarter;
class FileSystem;
class FinisherUi;

struct FinisherSettings {
    std::optional<QString> windir; // the "windir" environment value, if set
    QString sourceDirectory;       // the folder holding the finisher, native separators
};

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
    void startCommand(const QString& commandText);
    void appendToMessage(const QString& text);

    FileSystem& m_fileSystem;
    CommandStarter& m_starter;
    FinisherUi& m_ui;
    QString m_message;
};
