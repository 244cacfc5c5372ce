// Program entry of the database installer.
//
// The wizard and its windows are not built yet; until they are, the entry says so plainly
// instead of pretending to install anything.
#include <cstdio>

int main() {
    std::puts("Database installer: the installation wizard is not available in this build yet.");
    return 0;
}
