#pragma once

namespace tallybrook {

/// The application: reads the command line, prepares the profile and opens the window.
///
///   tallybrook-control [FILE] [--demo --demo-shop URL] [--screenshots DIR [--lang fr|en]]
///
/// FILE is imported when the window opens (instead of the most recent import). --demo runs in
/// a profile of its own (its own data folder, credentials kept in memory only) connected to the
/// demo shop at URL. --screenshots renders every page once into DIR/<destination>.png, in a
/// throw-away profile, and exits. Returns the process's exit code.
int runApplication(int argc, char** argv);

} // namespace tallybrook
