#pragma once

// The interface of the sound plug-in. The audio libraries are large and the
// alarm is rarely heard, so they live in a plug-in that the program loads on
// the first alarm instead of at every start.

#include <QString>
#include <QtPlugin>

#include <functional>

namespace quorvane {

class SoundBackend
{
public:
    virtual ~SoundBackend() = default;
    // Starts playing a WAV file and returns at once. onFailure runs, at once or
    // once the file has been read, when it cannot be played.
    virtual void play(const QString &wavPath, std::function<void()> onFailure) = 0;
    // From play until the sound has ended, loading included.
    virtual bool isPlaying() const = 0;
};

} // namespace quorvane

#define QuorvaneSoundBackend_iid "org.quorvane.SoundBackend/2"
Q_DECLARE_INTERFACE(quorvane::SoundBackend, QuorvaneSoundBackend_iid)
