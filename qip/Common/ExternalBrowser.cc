#include "qip/Common/ExternalBrowser.h"

#include <string>

namespace {
std::string theLastDir;
std::string theLastFile;
int theLastLine = -1;
int theRequests = 0;
}  // namespace

void ExternalBrowser::browse(char* dir, char* file, int line)
{
    theLastDir = dir ? dir : "";
    theLastFile = file ? file : "";
    theLastLine = line;
    ++theRequests;
}

const char* ExternalBrowser::lastDir() { return theLastDir.c_str(); }
const char* ExternalBrowser::lastFile() { return theLastFile.c_str(); }
int ExternalBrowser::lastLine() { return theLastLine; }
int ExternalBrowser::requests() { return theRequests; }
