#include "demo/HoldStill.h"

#include <csignal>

void holdStill()
{
    std::raise(SIGSTOP);
}
