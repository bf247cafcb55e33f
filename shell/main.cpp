// Program entry: hands the module instance to the shell and returns its exit status. One entry
// for both builds: MinGW's runtime starts a GUI program at main too, and the module handle of
// the program itself is the instance WinMain would have been given.
#include "shell/app.h"

int main()
{
    return runApplication(GetModuleHandleA(nullptr));
}
