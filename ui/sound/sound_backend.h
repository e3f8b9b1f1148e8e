#pragma once

// The interface of the sound plug-in. The audio libraries are large and the
// alarm is rarely heard, so they live in a plug-in that the program loads on
// the first alarm instead of at every start.

#include <QString>
#include <QtPlugin>

namespace quorvane {

class SoundBackend
{
public:
    virtual ~SoundBackend() = default;
    // Starts playing a WAV file and returns at once.
    virtual void play(const QString &wavPath) = 0;
};

} // namespace quorvane

#define QuorvaneSoundBackend_iid "org.quorvane.SoundBackend/1"
Q_DECLARE_INTERFACE(quorvane::SoundBackend, QuorvaneSoundBackend_iid)
