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
    void play(const QString &wavPath) override
    {
        const QUrl url = QUrl::fromLocalFile(wavPath);
        if (m_effect.source() != url)
            m_effect.setSource(url);
        m_effect.play();
    }

private:
    QSoundEffect m_effect;
};

} // namespace quorvane

#include "qt_sound_backend.moc"
