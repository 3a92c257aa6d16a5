#include "Finisher.h"

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

} // namespace

Finisher::Finisher(FileSystem& fileSystem, CommandStarter& starter, FinisherUi& ui)
    : m_fileSystem(fileSystem), m_starter(starter), m_ui(ui) {}

void Finisher::run(const FinisherSettings& settings) {
    if (!settings.windir || settings.windir->trimmed().isEmpty()) {
        qCDebug(lcFinisher) << "windir is not set; nothing copied, nothing started";
        appendToMessage(FinisherTexts::noWindirMessage());
        return;
    }
    const QString& windir = *settings.windir;
    // 64-bit systems keep the same system directory; only the message differs.
    const QString systemDirectory = joinWindowsPath(windir, QStringLiteral("\\system32"));
    appendToMessage(m_fileSystem.isDirectory(joinWindowsPath(windir, QStringLiteral("\\syswow64")))
                        ? FinisherTexts::sixtyFourBitMessage()
                        : FinisherTexts::thirtyTwoBitMessage());

    if (!m_fileSystem.isDirectory(systemDirectory)) {
        qCDebug(lcFinisher).noquote() << "no system directory" << systemDirectory;
        appendToMessage(FinisherTexts::noSystemDirectoryNote(systemDirectory));
        return;
    }
    copyMissingComponents(settings.sourceDirectory, systemDirectory);
    registerComponents(systemDirectory);
    markForCompatibility(settings.sourceDirectory, systemDirectory);
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
    for (const Component& component : componentsInRegistrationOrder()) {
        // Keeps the window painted while the registrations are started one by one.
        for (int i = 0; i < kYieldsBeforeRegistration; ++i)
            m_ui.yieldEvents();
        if (m_fileSystem.findFile(systemDirectory, component.fileName))
            startCommand(component.registrationCommand);
        else
            qCDebug(lcFinisher).noquote() << "not registered, missing:" << component.fileName;
    }
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
    for (const QString& executableName : compatibilityExecutableNames())
        startCommand(compatibilityCommand(sourceDirectory, executableName));
}

void Finisher::startCommand(const QString& commandText) {
    const bool started = m_starter.start(commandText);
    qCDebug(lcFinisher).noquote() << (started ? "started:" : "could not start:") << commandText;
}

void Finisher::appendToMessage(const QString& text) {
    m_message += text;
    m_ui.showMessage(m_message);
}
