// unpack200.exe as the JAR tests need it: takes the unpacker's command line
//   --verbose --log-file="LOG" --remove-pack-file "PACKED" "TARGET"
// and writes PACKED's bytes to TARGET and removes PACKED when they start with "packed";
// otherwise it writes "bad pack header" to LOG and leaves no TARGET.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        return 2;
    }
    const std::wstring logOption = argv[2];
    const std::wstring prefix = L"--log-file=";
    if (logOption.rfind(prefix, 0) != 0) {
        return 2;
    }
    const std::wstring log = logOption.substr(prefix.size());
    const std::wstring packed = argv[4];
    const std::wstring target = argv[5];
    std::ifstream in(packed.c_str(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    if (bytes.rfind("packed", 0) != 0) {
        std::ofstream(log.c_str(), std::ios::binary | std::ios::trunc) << "bad pack header";
        return 1;
    }
    std::ofstream(target.c_str(), std::ios::binary | std::ios::trunc) << bytes;
    ::DeleteFileW(packed.c_str());
    return 0;
}
