// Stand-in for the external updater Ethernet_Update: it reads the job file the
// configurator wrote, checks it and reports what it would do. It never talks to a device.

#include <pugixml.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string Utf8(const fs::path& p)
{
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

fs::path From_Utf8(const std::string& s)
{
    return fs::path(std::u8string(s.begin(), s.end()));
}

fs::path Own_Folder(const char* argv0)
{
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, buffer, DWORD(std::size(buffer)));
    if (n > 0 && n < std::size(buffer))
        return fs::path(std::wstring(buffer, n)).parent_path();
#else
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path();
#endif
    return fs::absolute(argv0).parent_path();
}

long Delay_Ms(const fs::path& folder)
{
    if (const char* env = std::getenv("STANDIN_DELAY_MS"))
        return std::strtol(env, nullptr, 10);
    std::ifstream f(folder / "standin_delay_ms");
    long ms = 0;
    f >> ms;
    return ms;
}

// The sizes of the banks by where they go in the device memory; the firmware image needs
// only to exist.
struct Expected_Size {
    const char* start;
    const char* what;
    std::uintmax_t size;
    bool at_least;
};

const Expected_Size Expected_Sizes[] = {
    {"0x8000", "firmware", 0, true},
    {"0x07000", "bank1", 2048, false},
    {"0x80000", "bank2", 1536, false},
    {"0xA0000", "bank3", 174, true},
};

std::string Text(const pugi::xml_node& op, const char* name)
{
    return op.child(name).child_value();
}

// Checks one operation; returns the problem, empty when none.
std::string Check_Operation(const pugi::xml_node& op, bool last)
{
    const std::string file = Text(op, "Ope_FileName");
    const std::string start = Text(op, "Ope_Start_Address");
    const Expected_Size* expected = nullptr;
    for (const Expected_Size& e : Expected_Sizes)
        if (start == e.start)
            expected = &e;
    if (!expected)
        return "unknown start address " + start;
    std::error_code ec;
    if (!fs::is_regular_file(From_Utf8(file), ec))
        return "missing file " + file;
    const std::uintmax_t size = fs::file_size(From_Utf8(file), ec);
    if (ec)
        return "cannot read the size of " + file;
    if (expected->at_least ? size < expected->size : size != expected->size)
        return std::string(expected->what) + " " + file + " has " + std::to_string(size) + " bytes";
    if (Text(op, "Ope_GoToApp_After") != (last ? "1" : "0"))
        return "Ope_GoToApp_After must be 1 on the last operation only";
    return {};
}

} // namespace

int main(int, char** argv)
{
    const fs::path own = Own_Folder(argv[0]);
    if (const long ms = Delay_Ms(own); ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));

    fs::path job = own / "Ethernet_Update.xml";
    if (!fs::exists(job))
        job = fs::current_path() / "Ethernet_Update.xml";

    std::ostringstream report;
    report << "stand-in updater\njob: " << Utf8(job) << '\n';
    bool sound = true;
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(job.c_str());
    const pugi::xml_node root = doc.child("Ethernet_Update");
    if (!parsed || !root) {
        report << "problem: cannot read the job: " << (parsed ? "no Ethernet_Update element" : parsed.description())
               << '\n';
        sound = false;
    } else {
        report << "device: " << root.child_value("IP_Address_Dev") << '\n';
        std::vector<pugi::xml_node> ops;
        for (const pugi::xml_node op : root.child("Operations").children("Operation"))
            ops.push_back(op);
        if (ops.empty()) {
            report << "problem: no operations\n";
            sound = false;
        }
        for (size_t i = 0; i < ops.size(); ++i) {
            report << "write " << Text(ops[i], "Ope_FileName") << " at " << Text(ops[i], "Ope_Start_Address")
                   << " read back " << Text(ops[i], "Ope_Read_Back") << '\n';
            const std::string problem = Check_Operation(ops[i], i + 1 == ops.size());
            if (!problem.empty()) {
                report << "problem: " << problem << '\n';
                sound = false;
            }
        }
    }
    report << "result: " << (sound ? "ok" : "failed") << '\n';
    std::cout << report.str();
    std::ofstream(own / "standin_report.txt", std::ios::binary) << report.str();
    return sound ? 0 : 1;
}
