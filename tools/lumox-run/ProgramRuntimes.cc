#include "tools/lumox-run/ProgramRuntimes.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

std::string findProgram(const std::string& program)
{
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), F_OK) == 0 ? program : std::string();
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        struct stat st;
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::string();
}

// A read-only view of a whole file; every offset taken from the file is
// checked against its size before use.
struct Mapped {
    const unsigned char* data = nullptr;
    size_t size = 0;
    bool has(uint64_t offset, uint64_t length) const { return offset <= size && length <= size - offset; }
};

void noteLibrary(ProgramRuntimes& r, const char* name)
{
    if (strncmp(name, "libasan.so", 10) == 0)
        r.address = r.sharedAddress = true;
    else if (strncmp(name, "libubsan.so", 11) == 0)
        r.undefined = r.sharedUndefined = true;
    else if (strncmp(name, "libtsan.so", 10) == 0)
        r.thread = true;
    else if (strncmp(name, "liblsan.so", 10) == 0)
        r.leak = true;
}

void noteSymbol(ProgramRuntimes& r, const char* name)
{
    if (strncmp(name, "__asan_", 7) == 0)
        r.address = true;
    else if (strncmp(name, "__ubsan_", 8) == 0)
        r.undefined = true;
    else if (strncmp(name, "__tsan_", 7) == 0)
        r.thread = true;
    else if (strncmp(name, "__lsan_", 7) == 0)
        r.leak = true;
}

// A NUL-terminated name at `offset` of a string table, or null.
const char* nameAt(const Mapped& m, const Elf64_Shdr& strtab, uint64_t offset)
{
    if (offset >= strtab.sh_size || !m.has(strtab.sh_offset, strtab.sh_size))
        return nullptr;
    const char* s = reinterpret_cast<const char*>(m.data + strtab.sh_offset + offset);
    size_t room = strtab.sh_size - offset;
    return memchr(s, '\0', room) ? s : nullptr;
}

void readElf64(const Mapped& m, ProgramRuntimes& r)
{
    const Elf64_Ehdr* eh = reinterpret_cast<const Elf64_Ehdr*>(m.data);
    if (eh->e_shentsize != sizeof(Elf64_Shdr) || !m.has(eh->e_shoff, uint64_t(eh->e_shnum) * sizeof(Elf64_Shdr)))
        return;
    const Elf64_Shdr* sh = reinterpret_cast<const Elf64_Shdr*>(m.data + eh->e_shoff);
    for (int i = 0; i < eh->e_shnum; ++i) {
        const Elf64_Shdr& s = sh[i];
        if ((s.sh_type != SHT_DYNAMIC && s.sh_type != SHT_DYNSYM) || s.sh_link >= eh->e_shnum
            || !m.has(s.sh_offset, s.sh_size))
            continue;
        const Elf64_Shdr& strtab = sh[s.sh_link];
        if (s.sh_type == SHT_DYNAMIC) {
            const Elf64_Dyn* d = reinterpret_cast<const Elf64_Dyn*>(m.data + s.sh_offset);
            for (size_t k = 0; k < s.sh_size / sizeof(Elf64_Dyn) && d[k].d_tag != DT_NULL; ++k)
                if (d[k].d_tag == DT_NEEDED)
                    if (const char* name = nameAt(m, strtab, d[k].d_un.d_val))
                        noteLibrary(r, name);
        } else {
            const Elf64_Sym* sym = reinterpret_cast<const Elf64_Sym*>(m.data + s.sh_offset);
            for (size_t k = 0; k < s.sh_size / sizeof(Elf64_Sym); ++k)
                if (const char* name = nameAt(m, strtab, sym[k].st_name))
                    noteSymbol(r, name);
        }
    }
}

}  // namespace

ProgramRuntimes inspectProgram(const std::string& program)
{
    ProgramRuntimes r;
    r.path = findProgram(program);
    if (r.path.empty())
        return r;
    int fd = open(r.path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return r;
    struct stat st;
    Mapped m;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= static_cast<off_t>(sizeof(Elf64_Ehdr))) {
        void* p = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (p != MAP_FAILED) {
            m.data = static_cast<const unsigned char*>(p);
            m.size = static_cast<size_t>(st.st_size);
        }
    }
    close(fd);
    if (!m.data)
        return r;
    // Only this machine's own kind of ELF file can run here unaided.
    if (memcmp(m.data, ELFMAG, SELFMAG) == 0 && m.data[EI_CLASS] == ELFCLASS64) {
        r.elf = true;
        readElf64(m, r);
    }
    munmap(const_cast<unsigned char*>(m.data), m.size);
    return r;
}
