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

// Runs from the state's pc until the pc reaches trapFrom or above, counting
// the instructions run inside [ranges[2i], ranges[2i+1]). Returns 1 at a fault.
extern "C" int zb_arm_run(uint32_t *state, uint8_t *memory, uint32_t base, uint32_t size,
                          uint32_t trapFrom, const uint32_t *ranges, uint32_t rangeCount,
                          uint64_t *counted, char *fault, uint32_t faultSize) {
    arm::Cpu cpu(memory - base, base, base + size);
    std::memcpy(cpu.r, state, 16 * 4);
    cpu.SetPsr(state[16]);
    cpu.trapFrom = trapFrom;
    bool faulted = false;
    while (cpu.r[15] < trapFrom && !faulted) {
        uint32_t pc = cpu.r[15];
        for (uint32_t i = 0; i < rangeCount; ++i)
            if (pc >= ranges[2 * i] && pc < ranges[2 * i + 1]) {
                ++*counted;
                break;
            }
        faulted = cpu.Step() == arm::Cpu::Stop::Fault;
    }
    std::memcpy(state, cpu.r, 16 * 4);
    state[16] = cpu.Psr();
    if (faulted && faultSize)
        std::strncpy(fault, cpu.fault, faultSize - 1);
    return faulted;
}
