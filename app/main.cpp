#include <cstdio>

int main()
{
    std::puts("Tarvo: the main window is not built yet; the FTP library and its tests are.");
    return 0;
}
