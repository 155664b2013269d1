# Turns an app-defaults file into a C++ array of fallback resource lines.
# Usage: cmake -DIN=<file> -DOUT=<file.cc> -P EmbedResources.cmake
file(STRINGS ${IN} lines)
set(body "")
foreach(line IN LISTS lines)
  string(STRIP "${line}" stripped)
  if(stripped STREQUAL "" OR stripped MATCHES "^!")
    continue()
  endif()
  string(REPLACE "\\" "\\\\" line "${line}")
  string(REPLACE "\"" "\\\"" line "${line}")
  string(APPEND body "    const_cast<char*>(\"${line}\"),\n")
endforeach()
file(WRITE ${OUT}.tmp
"// Generated from the app-defaults file; edit that file instead.\n"
"#include \"app/shell/LumoxResources.h\"\n\n"
"static String theResources[] = {\n${body}    nullptr,\n};\n\n"
"String* lumoxFallbackResources() { return theResources; }\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
