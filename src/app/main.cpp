#include "store/allocator_tuning.h"
#include "ui/main/vehicle_log_app.h"

#include <iostream>
#include <string>

namespace {

constexpr const char* kHelp = R"(Usage: odrivo [FILE.odv]
Keep the running log of your road vehicles: fuel, repairs and maintenance, trips.

Without a file, Odrivo opens the vehicle shown last. With a vehicle's data file
(FILE.odv), it opens the vehicle whose log that file is.

Options:
  -h, --help     Show this help and exit.
  -v, --version  Show the version and exit.

The command-line tool odrivo-cli reads and changes the same logs; see odrivo-cli --help.
)";

// What the command line asks for. Qt's own options (-platform, -style ...) are taken out by
// QApplication later; only these are looked at before a window system is needed, so --help
// and --version work in a terminal without a desktop.
struct Arguments {
    enum class Action { Run, Help, Version, Error } action = Action::Run;
    std::string file;
    std::string error;
};

Arguments readArguments(int argc, char** argv) {
    Arguments args;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help")
            return {Arguments::Action::Help, {}, {}};
        if (arg == "-v" || arg == "--version")
            return {Arguments::Action::Version, {}, {}};
        if (arg == "--") {
            if (i + 1 < argc)
                args.file = argv[i + 1];
            break;
        }
        if (arg.starts_with("--")) // Qt's options take one dash; a second is no option of ours
            return {Arguments::Action::Error, {}, "unknown option " + arg};
        if (arg.starts_with("-")) { // a Qt option, perhaps with its value
            if (i + 1 < argc && argv[i + 1][0] != '-' &&
                (arg == "-platform" || arg == "-style" || arg == "-display" || arg == "-geometry" ||
                 arg == "-qwindowgeometry" || arg == "-qwindowtitle" || arg == "-qwindowicon" ||
                 arg == "-platformpluginpath" || arg == "-platformtheme" || arg == "-stylesheet"))
                ++i;
            continue;
        }
        if (!args.file.empty())
            return {Arguments::Action::Error, {}, "only one file can be opened at a time"};
        args.file = arg;
    }
    return args;
}

} // namespace

int main(int argc, char** argv) {
    const Arguments args = readArguments(argc, argv);
    switch (args.action) {
    case Arguments::Action::Help:
        std::cout << kHelp;
        return 0;
    case Arguments::Action::Version:
        std::cout << "Odrivo " << ODRIVO_VERSION << '\n';
        return 0;
    case Arguments::Action::Error:
        std::cerr << "odrivo: " << args.error << "\nTry 'odrivo --help'.\n";
        return 2;
    case Arguments::Action::Run:
        break;
    }
    odrivo::keepFreedMemoryForReloads();
    CVehicleLogApp app(argc, argv);
    return app.run(args.file);
}
