#include <cstdio>

int main()
{
    std::puts("The window is not there yet.");
    return 0;
}
