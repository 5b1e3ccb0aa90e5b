#pragma once

#include <QString>

// Plays sound files through GStreamer without waiting. Each player frees itself at the end of
// the stream or at an error; a missing audio device or an unplayable file is silence.
class SoundPlayer {
public:
    // Starts playing `path` and returns at once; false when playback could not even start.
    static bool playAsync(const QString &path);
};
