#include "audio/audio_log.h"

namespace tarnix {

// Debug lines are off unless asked for (QT_LOGGING_RULES="tarnix.audio.debug=true").
Q_LOGGING_CATEGORY(lcAudio, "tarnix.audio", QtInfoMsg)

}  // namespace tarnix
