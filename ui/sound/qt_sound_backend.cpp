#include "ui/sound/sound_backend.h"

#include <QObject>
#include <QSoundEffect>
#include <QUrl>

namespace quorvane {

class QtSoundBackend final : public QObject, public SoundBackend
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuorvaneSoundBackend_iid)
    Q_INTERFACES(quorvane::SoundBackend)

public:
    QtSoundBackend()
    {
        connect(&m_effect, &QSoundEffect::statusChanged, this, [this] {
            if (m_effect.status() == QSoundEffect::Error)
                fail();
        });
        connect(&m_effect, &QSoundEffect::playingChanged, this, [this] {
            if (m_effect.isPlaying())
                m_onFailure = nullptr; // it sounds: no stand-in needed
        });
    }

    void play(const QString &wavPath, std::function<void()> onFailure) override
    {
        m_onFailure = std::move(onFailure);
        const QUrl url = QUrl::fromLocalFile(wavPath);
        if (m_effect.source() != url)
            m_effect.setSource(url); // read in the background
        else if (m_effect.status() == QSoundEffect::Error) {
            fail();
            return;
        }
        m_effect.play();
    }

    bool isPlaying() const override
    {
        return m_effect.isPlaying() || (m_onFailure && m_effect.status() == QSoundEffect::Loading);
    }

private:
    void fail()
    {
        if (auto onFailure = std::exchange(m_onFailure, nullptr))
            onFailure();
    }

    QSoundEffect m_effect;
    std::function<void()> m_onFailure;
};

} // namespace quorvane

#include "qt_sound_backend.moc"
