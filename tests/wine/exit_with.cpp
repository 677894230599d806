// Ends with the status given as its argument and says so on standard output: the
// Wine runner's tests check that both reach the caller unchanged.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const int status = argc > 1 ? std::atoi(argv[1]) : 0;
    std::printf("exit_with %d\n", status);
    return status;
}
