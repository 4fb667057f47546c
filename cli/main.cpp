#include <cstdio>

int main()
{
    std::fputs("zorone-cli: the terminal front end is not built yet\n", stderr);
    return 2;
}
