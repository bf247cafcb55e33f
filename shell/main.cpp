// Program entry: hands the module instance to the shell and returns its exit status.
#include "shell/app.h"

#ifdef _WIN32
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return runApplication(instance);
}
#else
int main()
{
    return runApplication(GetModuleHandleA(nullptr));
}
#endif
