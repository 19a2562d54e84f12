# Writes a C++ source that carries the bytes of a data file, so a program
# holds the file's content as it was at build time. Run as a script:
#   cmake -DINPUT=<data file> -DOUTPUT=<source.cpp> -DHEADER=<include>
#         -DFUNCTION=<qualified name> -P EmbedFile.cmake
# The source includes HEADER, which must declare
#   std::string_view FUNCTION();
# and defines it to return the file's bytes. The bytes are written as a
# number array, so no content of the file can break the source; a zero byte
# follows them (not part of the view), which also keeps an empty file legal.
foreach(argument INPUT OUTPUT HEADER FUNCTION)
  if(NOT DEFINED ${argument})
    message(FATAL_ERROR "EmbedFile.cmake needs -D${argument}=...")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")

# Sixteen bytes to a line, each as 0xNN.
string(REPEAT "[0-9a-f][0-9a-f]" 16 sixteen)
string(REGEX REPLACE "(${sixteen})" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPLACE "\n" "\n    " bytes "${bytes}")

get_filename_component(input_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
"// Generated at build time from ${input_name} by cmake/EmbedFile.cmake: edit the data file, not this one.
#include \"${HEADER}\"

namespace {

const unsigned char kBytes[${size} + 1] = {
    ${bytes}0x00};

}  // namespace

std::string_view ${FUNCTION}() { return {reinterpret_cast<const char*>(kBytes), ${size}}; }
")
