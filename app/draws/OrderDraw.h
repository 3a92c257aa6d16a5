#pragma once

#include "NumberPool.h"

#include "core/Form.h"

#include <memory>

namespace platform {
class SoundPlayer;
}

namespace draws {

// Form7, the order-number draw: the numbers 1 ... N drawn one at a time, each once, in
// random order, shown in a very large figure between rolls of random numbers and listed
// in the order drawn. It takes the main window's place until the launcher's
// confirmation ends it.
class OrderDraw : public Form {
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::Form7;
    explicit OrderDraw(AppContext& ctx);
    ~OrderDraw() override;

    int count() const { return m_pool.count(); }
    const NumberPool& pool() const { return m_pool; }

protected:
    void onLoad() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* c(const char* name) const { return controlWidget(QLatin1String(name)); }
    void roll();
    void drawOne();
    void armNext();
    void nextRound();
    void finish();
    // This window's player: the main window's player is closed first so the two never
    // play over each other.
    void play(const QString& fileName);
    void closeMainPlayer();

    std::unique_ptr<platform::SoundPlayer> m_sound;
    NumberPool m_pool;
};

} // namespace draws
