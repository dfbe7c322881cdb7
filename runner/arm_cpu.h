// An ARMv4T CPU in ARM state, as much of it as compiled Windows CE programs
// use: data processing, multiplies, single, halfword and multiple transfers,
// branches and BX. Anything else (Thumb, SWI, coprocessors, SWP, PSR access,
// ARMv5 forms, user-bank transfers) stops the run with a fault naming the
// instruction and its address, as does an access outside the memory given.
// Portable C++ with no system headers: the runner and its checks on the
// build host compile the same file.
#pragma once

#include <cstdint>

namespace arm {

class Cpu {
  public:
    enum class Stop { Trap, Fault };

    // ARM address a is host + a, valid from lo (below it: null pointers) to hi.
    Cpu(uint8_t *host, uint32_t lo, uint32_t hi) : host_(host), lo_(lo), hi_(hi) {}

    // Runs until the pc reaches trapFrom or above (the caller's stubs and
    // return marks live there) or an instruction faults.
    Stop Run();
    // Runs one instruction (or stops at a trap address).
    Stop Step();

    uint32_t r[16] = {};
    bool n = false, z = false, c = false, v = false;
    uint32_t trapFrom = 0xFFFF'FFFF;
    uint64_t executed = 0;
    // Filled at a fault: the instruction, its address and what went wrong.
    char fault[192] = {};

    uint32_t Psr() const;
    void SetPsr(uint32_t psr);

    // ARM memory for the caller; null when [address, address + size) is not
    // inside the memory given.
    uint8_t *At(uint32_t address, uint32_t size) const {
        if (address < lo_ || address > hi_ || hi_ - address < size)
            return nullptr;
        return host_ + address;
    }
    uint32_t lo() const { return lo_; }
    uint32_t hi() const { return hi_; }

  private:
    enum { kGoOn, kTrapped, kFaulted };
    int Next();
    bool Condition(uint32_t cond) const;
    bool Execute(uint32_t insn, uint32_t pc);
    bool DataProcessing(uint32_t insn, uint32_t pc);
    bool Multiply(uint32_t insn);
    bool SingleTransfer(uint32_t insn, uint32_t pc);
    bool HalfwordTransfer(uint32_t insn, uint32_t pc);
    bool BlockTransfer(uint32_t insn, uint32_t pc);
    bool Unimplemented(uint32_t insn, uint32_t pc, const char *what);
    bool BadAccess(uint32_t insn, uint32_t pc, uint32_t address, uint32_t size);
    // A register as an operand: the pc reads 8 ahead.
    uint32_t Reg(uint32_t index, uint32_t pc) const { return index == 15 ? pc + 8 : r[index]; }

    uint8_t *host_;
    uint32_t lo_, hi_;
};

} // namespace arm
