#include "FakePlatform.h"

#include <algorithm>

namespace platform {

void FakeMessageBoxes::information(const QString& title, const QString& text) {
    shown.push_back({title, text, false});
    if (onShow)
        onShow(shown.back());
}

MessageBoxes::Answer FakeMessageBoxes::askYesNo(const QString& title, const QString& text) {
    shown.push_back({title, text, true});
    if (onShow)
        onShow(shown.back());
    if (answers.empty())
        return Answer::No;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

bool FakeDesktopWindows::requestClose(quint64 id) {
    closeRequests.push_back(id);
    auto it = std::find_if(windows.begin(), windows.end(), [id](const ClientWindow& w) { return w.id == id; });
    if (it == windows.end())
        return false;
    if (keptOpen.count(id) == 0)
        windows.erase(it);
    return true;
}

namespace {

class FakeSoundPlayer : public SoundPlayer {
public:
    FakeSoundPlayer(FakeSoundPlayers& owner, int id) : m_owner(owner), m_id(id) {}
    void setFileName(const QString& fileName) override { m_fileName = fileName; }
    void command(const QString& name) override { m_owner.log.push_back({m_id, m_fileName, name}); }

private:
    FakeSoundPlayers& m_owner;
    int m_id;
    QString m_fileName;
};

} // namespace

std::unique_ptr<SoundPlayer> FakeSoundPlayers::create() {
    return std::make_unique<FakeSoundPlayer>(*this, ++created);
}

QStringList FakeSoundPlayers::played() const {
    QStringList files;
    for (const Command& c : log) {
        if (c.command == QLatin1String("PLAY"))
            files << c.fileName;
    }
    return files;
}

} // namespace platform
