// audiosim.exe: acts on the simulated audio system of the Wine prefix it runs in, as a user,
// another program or the system would, and prints the device table after every command.
#include <windows.h>

#include <audioclient.h>
#include <mmdeviceapi.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "sim_state.h"

namespace {

const char* const kUsage =
    "usage: audiosim.exe reset | clear | state | add ID \"NAME\"\n"
    "       | remove ID [unplugged|disabled|notpresent] | plug ID | rename ID \"NAME\"|--empty\n"
    "       | default ID [console|multimedia|communications] | level ID 0..1 | mute ID 0|1\n"
    "       | fail METHOD 0xHRESULT COUNT | restart-service MS [0xHRESULT]\n"
    "       | policy win7|vista|win10-1511|win10-1507\n"
    "rename ID \"\" leaves the name property without text (a null pointer), as some drivers do;\n"
    "rename ID --empty removes it (VT_EMPTY), as a device just plugged in may have no name yet.\n";

void print(const std::string& text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

int refuse(const std::string& why) {
    print("audiosim: " + why + "\n" + kUsage);
    return 2;
}

bool number(const wchar_t* text, unsigned long& value) {
    wchar_t* end = nullptr;
    value = wcstoul(text, &end, 0);
    return *text != L'\0' && *end == L'\0';
}

// Runs one command on the locked state; an empty answer means it was done.
std::string run(audiosim::Transaction& sim, int count, wchar_t** args) {
    using audiosim::Method;
    const std::wstring command = count > 1 ? args[1] : L"";
    auto device = [&](int& index) -> std::string {
        if (count < 3) return "the command needs a device id";
        index = sim.find(args[2]);
        return index < 0 ? "no device with the id " + audiosim::utf8(args[2]) : "";
    };
    int index = -1;
    if (command == L"state" && count == 2) return {};
    if (command == L"reset" && count == 2) {
        sim.reset();
        return {};
    }
    if (command == L"clear" && count == 2) {
        sim.clear();
        return {};
    }
    if (command == L"add" && count == 4) {
        if (!*args[2]) return "the id is empty";
        if (!sim.add(args[2], args[3])) return "the id is taken or the table is full";
        return {};
    }
    if (command == L"remove" && (count == 3 || count == 4)) {
        if (auto why = device(index); !why.empty()) return why;
        if (sim.state().devices[index].state != DEVICE_STATE_ACTIVE)
            return "the device is not active";
        const std::wstring how = count == 4 ? args[3] : L"unplugged";
        const DWORD state = how == L"unplugged"    ? DEVICE_STATE_UNPLUGGED
                            : how == L"disabled"   ? DEVICE_STATE_DISABLED
                            : how == L"notpresent" ? DEVICE_STATE_NOTPRESENT
                                                   : 0;
        if (state == 0) return "a device is removed as unplugged, disabled or notpresent";
        sim.remove(index, state);
        return {};
    }
    if (command == L"rename" && count == 4) {
        if (auto why = device(index); !why.empty()) return why;
        if (wcscmp(args[3], L"--empty") == 0) {
            sim.removeName(index);
        } else {
            sim.rename(index, args[3]);
        }
        return {};
    }
    if (command == L"policy" && count == 3) {
        for (int p = 0; p < static_cast<int>(audiosim::Policy::Count); ++p) {
            const auto policy = static_cast<audiosim::Policy>(p);
            if (wcscmp(args[2], audiosim::policyName(policy)) == 0) {
                sim.state().policy = policy;
                return {};
            }
        }
        return "no policy " + audiosim::utf8(args[2]);
    }
    if (command == L"plug" && count == 3) {
        if (auto why = device(index); !why.empty()) return why;
        if (sim.state().devices[index].state == DEVICE_STATE_ACTIVE) return "the device is active";
        sim.plug(index);
        return {};
    }
    if (command == L"default" && (count == 3 || count == 4)) {
        if (auto why = device(index); !why.empty()) return why;
        if (sim.state().devices[index].state != DEVICE_STATE_ACTIVE)
            return "the device is not active";
        for (int role = 0; role < audiosim::kRoles; ++role) {
            if (count == 3 || wcscmp(args[3], audiosim::roleName(role)) == 0)
                sim.setDefault(index, role);
        }
        if (count == 4 && wcscmp(args[3], L"console") && wcscmp(args[3], L"multimedia") &&
            wcscmp(args[3], L"communications")) {
            return "no role " + audiosim::utf8(args[3]);
        }
        return {};
    }
    if (command == L"level" && count == 4) {
        if (auto why = device(index); !why.empty()) return why;
        wchar_t* end = nullptr;
        const double level = wcstod(args[3], &end);
        if (*end != L'\0' || !(level >= 0.0 && level <= 1.0)) return "a level lies in 0..1";
        sim.state().devices[index].level = static_cast<float>(level);
        return {};
    }
    if (command == L"mute" && count == 4) {
        if (auto why = device(index); !why.empty()) return why;
        if (wcscmp(args[3], L"0") && wcscmp(args[3], L"1")) return "mute is 0 or 1";
        sim.state().devices[index].mute = args[3][0] == L'1' ? 1 : 0;
        return {};
    }
    if (command == L"fail" && count == 5) {
        unsigned long hr = 0, times = 0;
        if (!number(args[3], hr) || !number(args[4], times)) return "fail METHOD 0xHRESULT COUNT";
        for (int m = 0; m < static_cast<int>(Method::Count); ++m) {
            if (wcscmp(args[2], audiosim::methodName(static_cast<Method>(m))) == 0) {
                sim.state().failures[m] = {static_cast<std::int32_t>(hr),
                                           static_cast<std::uint32_t>(times)};
                return {};
            }
        }
        return "no method " + audiosim::utf8(args[2]);
    }
    if (command == L"restart-service" && (count == 3 || count == 4)) {
        unsigned long ms = 0, hr = static_cast<unsigned long>(AUDCLNT_E_DEVICE_INVALIDATED);
        if (!number(args[2], ms) || (count == 4 && !number(args[3], hr))) {
            return "restart-service MS [0xHRESULT]";
        }
        ++sim.state().epoch;
        sim.state().lossCode = static_cast<std::int32_t>(hr);
        sim.state().outageUntil = audiosim::now() + static_cast<std::uint64_t>(ms) * 10000;
        return {};
    }
    return command.empty() ? "no command" : "unknown command or arguments";
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (args == nullptr) return refuse("cannot read the command line");
    audiosim::Transaction sim;
    const std::string why = run(sim, count, args);
    LocalFree(args);
    if (!why.empty()) return refuse(why);
    if (!sim.commit()) return refuse("the state could not be written");
    print(audiosim::describe(sim.state()));
    return 0;
}
