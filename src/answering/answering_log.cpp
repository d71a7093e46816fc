#include "answering/answering_log.h"

Q_LOGGING_CATEGORY(lcAnswering, "tarnix.answering", QtInfoMsg)
