#include "Finisher.h"

#include "CommandLine.h"
#include "CommandStarter.h"
#include "Components.h"
#include "FileSystem.h"
#include "FinisherTexts.h"
#include "FinisherUi.h"
#include "Logging.h"
#include "WindowsPath.h"

namespace {

constexpr int kYieldsBeforeRegistration = 4;

QString reasonText(const CopyResult& result) {
    switch (result.status) {
    case CopyStatus::SourceMissing:
        return FinisherTexts::reasonSourceMissing();
    case CopyStatus::NoPermission:
        return FinisherTexts::reasonNoPermission();
    case CopyStatus::NoSpace:
        return FinisherTexts::reasonNoSpace();
    default:
        return FinisherTexts::reasonOther(result.detail);
    }
}

QString programOf(const QString& commandText) {
    const QStringList words = splitCommandLine(commandText);
    return words.isEmpty() ? QString() : words.first();
}

} // namespace

Finisher::Finisher(FileSystem& fileSystem, CommandStarter& starter, FinisherUi& ui)
    : m_fileSystem(fileSystem), m_starter(starter), m_ui(ui) {}

bool runsTheWindowsSequence(const FinisherSettings& settings) {
    return settings.windir && !settings.windir->trimmed().isEmpty();
}

void Finisher::run(const FinisherSettings& settings) {
    if (!runsTheWindowsSequence(settings)) {
        qCDebug(lcFinisher) << "windir is not set; the Windows sequence has nothing to work on";
        return;
    }
    const QString windir = joinWindowsPath(*settings.windir, {});
    // 64-bit systems keep the same system directory; only the message differs. Windows folder
    // names ignore case, so "System32" and "SysWOW64" are the same folders.
    appendToMessage(m_fileSystem.findDirectory(windir, QStringLiteral("syswow64"))
                        ? FinisherTexts::sixtyFourBitMessage()
                        : FinisherTexts::thirtyTwoBitMessage());

    const std::optional<QString> systemDirectory =
        m_fileSystem.findDirectory(windir, QStringLiteral("system32"));
    if (!systemDirectory) {
        const QString expected = joinWindowsPath(windir, QStringLiteral("\\system32"));
        qCDebug(lcFinisher).noquote() << "no system directory" << expected;
        appendToMessage(FinisherTexts::noSystemDirectoryNote(expected));
        return;
    }
    copyMissingComponents(settings.sourceDirectory, *systemDirectory);
    registerComponents(*systemDirectory);
    markForCompatibility(settings.sourceDirectory, *systemDirectory);
}

void Finisher::copyMissingComponents(const QString& sourceDirectory, const QString& systemDirectory) {
    QString failures;
    for (const Component& component : componentsInCopyOrder()) {
        if (m_fileSystem.findFile(systemDirectory, component.fileName))
            continue; // an existing file is never replaced
        const QString target = joinWindowsPath(systemDirectory, u'\\' + component.fileName);
        CopyResult result{CopyStatus::SourceMissing, {}};
        if (const auto source = m_fileSystem.findFile(sourceDirectory, component.fileName))
            result = m_fileSystem.copyFile(*source, target);
        qCDebug(lcFinisher).noquote()
            << "copy" << component.fileName << "to" << target << "->" << int(result.status) << result.detail;
        if (result.status != CopyStatus::Copied && result.status != CopyStatus::AlreadyPresent)
            failures += FinisherTexts::copyFailureLine(component.fileName, reasonText(result));
    }
    if (!failures.isEmpty()) appendToMessage(FinisherTexts::copyFailuresHeading(systemDirectory) + failures);
}

void Finisher::registerComponents(const QString& systemDirectory) {
    QString failures;
    for (const Component& component : componentsInRegistrationOrder()) {
        // Keeps the window painted while the registrations are started one by one.
        for (int i = 0; i < kYieldsBeforeRegistration; ++i)
            m_ui.yieldEvents();
        if (!m_fileSystem.findFile(systemDirectory, component.fileName)) {
            qCDebug(lcFinisher).noquote() << "not registered, missing:" << component.fileName;
            continue;
        }
        // Only a command that never ran is known to have failed; what a started one does is not read.
        if (!startCommand(component.registrationCommand))
            failures += FinisherTexts::copyFailureLine(
                component.fileName,
                FinisherTexts::reasonNotStarted(programOf(component.registrationCommand)));
    }
    if (!failures.isEmpty()) appendToMessage(FinisherTexts::registrationFailuresHeading() + failures);
}

void Finisher::markForCompatibility(const QString& sourceDirectory, const QString& systemDirectory) {
    if (!m_fileSystem.findFile(systemDirectory, QStringLiteral("REG.EXE"))) {
        qCDebug(lcFinisher) << "no REG.EXE in the system directory; compatibility entries skipped";
        return;
    }
    if (sourceDirectory.contains(u'"')) {
        qCDebug(lcFinisher).noquote()
            << "double quote in" << sourceDirectory << "; compatibility entries skipped";
        appendToMessage(FinisherTexts::quoteInSourceDirectoryNote());
        return;
    }
    bool allStarted = true;
    for (const QString& executableName : compatibilityExecutableNames())
        allStarted = startCommand(compatibilityCommand(sourceDirectory, executableName)) && allStarted;
    if (!allStarted) appendToMessage(FinisherTexts::compatibilityNotStartedNote(QStringLiteral("REG.EXE")));
}

bool Finisher::startCommand(const QString& commandText) {
    const bool started = m_starter.start(commandText);
    qCDebug(lcFinisher).noquote() << (started ? "started:" : "could not start:") << commandText;
    return started;
}

void Finisher::appendToMessage(const QString& text) {
    m_message += text;
    m_ui.showMessage(m_message);
}
