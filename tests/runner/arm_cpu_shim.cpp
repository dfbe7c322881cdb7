// The runner's CPU for arm_cpu_check.py, built for the build host and loaded
// through ctypes: one instruction on a state of r0-r15 and the PSR, over a
// memory block at an ARM address.
#include "arm_cpu.h"

#include <cstring>

extern "C" int zb_arm_step(uint32_t *state, uint8_t *memory, uint32_t base, uint32_t size,
                           char *fault, uint32_t faultSize) {
    arm::Cpu cpu(memory - base, base, base + size);
    std::memcpy(cpu.r, state, 16 * 4);
    cpu.SetPsr(state[16]);
    bool faulted = cpu.Step() == arm::Cpu::Stop::Fault;
    std::memcpy(state, cpu.r, 16 * 4);
    state[16] = cpu.Psr();
    if (faulted && faultSize)
        std::strncpy(fault, cpu.fault, faultSize - 1);
    return faulted;
}
