#include "Program.h"

int main(int argc, char** argv)
{
    return swr::Run_Program(argc, argv);
}
