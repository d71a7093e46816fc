#pragma once

#include "child_process.h"

#include <string>

namespace tarnix::bench {

// Reads a stand-in's record up to the line holding text and returns that line's stamp (seconds of
// CLOCK_MONOTONIC); 0 when the record ends or stalls first.
inline double stampOf(ChildProcess& standIn, const std::string& text)
{
    for (std::string line = standIn.readLine(); !line.empty(); line = standIn.readLine()) {
        if (line.find(text) != std::string::npos) return std::stod(line);
    }
    return 0;
}

}  // namespace tarnix::bench
