# cmake -DOUTPUT=<file.cpp> -DFILES=<a.wav|b.wav...> -P embed_wave_resources.cmake
# Writes findWaveResource with each file's bytes under the id in its name (tone_<id>.wav).
string(REPLACE "|" ";" FILES "${FILES}")
set(arrays "")
set(cases "")
foreach(file IN LISTS FILES)
  get_filename_component(stem "${file}" NAME_WE)
  string(REGEX REPLACE "^.*_([0-9]+)$" "\\1" id "${stem}")
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "const unsigned char wave${id}[] = {\n    ${bytes}\n};\n")
  string(APPEND cases "    case ${id}: return wave${id};\n")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/tones by embed_wave_resources.cmake; do not edit.
#include \"audio/wave_resources.h\"

namespace tarnix {

namespace {

${arrays}
}  // namespace

std::span<const unsigned char> findWaveResource(int id)
{
    switch (id) {
${cases}    default: return {};
    }
}

}  // namespace tarnix
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
