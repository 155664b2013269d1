#pragma once

#include <string>
#include <vector>

// A scratch world for one test of suppressions: HOME, the installation
// directory (QUENTAR) and a project directory, all fresh and empty, with the
// option reader and the suppression sources reset. Everything is put back
// (environment, working directory, sources) when it goes.
class ZxScratch {
public:
    explicit ZxScratch(const std::string& name);
    ~ZxScratch();

    std::string root, home, install, project;

private:
    ZxScratch(const ZxScratch&) = delete;
    ZxScratch& operator=(const ZxScratch&) = delete;
    std::string _oldHome, _oldQuentar, _oldCwd;
    bool _hadHome, _hadQuentar;
};

// The strings, each ended by a NUL, as a command line or environment record
// carries them.
std::string packed(const std::vector<std::string>& strings);
