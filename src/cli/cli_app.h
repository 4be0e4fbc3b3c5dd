#pragma once
// The odrivo-cli command set. main() only forwards here, so tests can run the
// commands in-process and read what they print.

#include <iosfwd>

int runCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
