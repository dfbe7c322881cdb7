#include "arm_cpu.h"

#include <cstdio>
#include <cstring>

namespace arm {

namespace {

uint32_t Load32(const uint8_t *p) {
    uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

void Store32(uint8_t *p, uint32_t value) { std::memcpy(p, &value, 4); }

uint32_t Ror(uint32_t value, uint32_t amount) {
    amount &= 31;
    return amount ? (value >> amount) | (value << (32 - amount)) : value;
}

struct Shifted {
    uint32_t value;
    bool carry;
};

// The barrel shifter for a shift by register: amount is Rs's low byte.
Shifted ShiftByRegister(uint32_t type, uint32_t value, uint32_t amount, bool carry) {
    if (amount == 0)
        return {value, carry};
    switch (type) {
    case 0: // LSL
        if (amount < 32)
            return {value << amount, ((value >> (32 - amount)) & 1) != 0};
        return {0, amount == 32 && (value & 1)};
    case 1: // LSR
        if (amount < 32)
            return {value >> amount, ((value >> (amount - 1)) & 1) != 0};
        return {0, amount == 32 && (value >> 31)};
    case 2: // ASR
        if (amount < 32)
            return {static_cast<uint32_t>(static_cast<int32_t>(value) >> amount),
                    ((value >> (amount - 1)) & 1) != 0};
        return {(value >> 31) ? 0xFFFF'FFFFu : 0u, (value >> 31) != 0};
    default: // ROR
        if ((amount & 31) == 0)
            return {value, (value >> 31) != 0};
        return {Ror(value, amount), ((value >> ((amount & 31) - 1)) & 1) != 0};
    }
}

// The barrel shifter for a shift by an immediate, whose zero means 32 for
// LSR and ASR and RRX for ROR.
Shifted ShiftByImmediate(uint32_t type, uint32_t value, uint32_t amount, bool carry) {
    if (amount != 0)
        return ShiftByRegister(type, value, amount, carry);
    switch (type) {
    case 0:
        return {value, carry};
    case 1:
    case 2:
        return ShiftByRegister(type, value, 32, carry);
    default:
        return {(carry ? 0x8000'0000u : 0u) | (value >> 1), (value & 1) != 0};
    }
}

} // namespace

uint32_t Cpu::Psr() const {
    // User mode, ARM state, interrupts enabled: all the program ever sees.
    return (n ? 1u << 31 : 0) | (z ? 1u << 30 : 0) | (c ? 1u << 29 : 0) | (v ? 1u << 28 : 0) | 0x10;
}

void Cpu::SetPsr(uint32_t psr) {
    n = (psr >> 31) & 1;
    z = (psr >> 30) & 1;
    c = (psr >> 29) & 1;
    v = (psr >> 28) & 1;
}

bool Cpu::Condition(uint32_t cond) const {
    switch (cond) {
    case 0x0: return z;
    case 0x1: return !z;
    case 0x2: return c;
    case 0x3: return !c;
    case 0x4: return n;
    case 0x5: return !n;
    case 0x6: return v;
    case 0x7: return !v;
    case 0x8: return c && !z;
    case 0x9: return !c || z;
    case 0xA: return n == v;
    case 0xB: return n != v;
    case 0xC: return !z && n == v;
    case 0xD: return z || n != v;
    default: return true; // AL; 0xF is refused before
    }
}

bool Cpu::Unimplemented(uint32_t insn, uint32_t pc, const char *what) {
    std::snprintf(fault, sizeof fault, "instruction %08x at %08x: %s, which this CPU does not run",
                  static_cast<unsigned>(insn), static_cast<unsigned>(pc), what);
    return false;
}

bool Cpu::BadAccess(uint32_t insn, uint32_t pc, uint32_t address, uint32_t size) {
    std::snprintf(fault, sizeof fault,
                  "instruction %08x at %08x: a %u-byte access at %08x, outside the program's "
                  "memory or misaligned",
                  static_cast<unsigned>(insn), static_cast<unsigned>(pc),
                  static_cast<unsigned>(size), static_cast<unsigned>(address));
    return false;
}

Cpu::Stop Cpu::Run() {
    for (;;) {
        int next = Next();
        if (next != kGoOn)
            return next == kTrapped ? Stop::Trap : Stop::Fault;
    }
}

Cpu::Stop Cpu::Step() {
    return Next() == kFaulted ? Stop::Fault : Stop::Trap;
}

int Cpu::Next() {
    uint32_t pc = r[15];
    if (pc >= trapFrom)
        return kTrapped;
    if ((pc & 3) || pc < lo_ || pc > hi_ - 4) {
        std::snprintf(fault, sizeof fault, "the pc went to %08x, outside the program's memory",
                      static_cast<unsigned>(pc));
        return kFaulted;
    }
    uint32_t insn = Load32(host_ + pc);
    ++executed;
    r[15] = pc + 4;
    if (insn >> 28 == 0xF) {
        r[15] = pc;
        Unimplemented(insn, pc, "the unconditional space (ARMv5)");
        return kFaulted;
    }
    if (insn >> 28 != 0xE && !Condition(insn >> 28))
        return kGoOn;
    if (!Execute(insn, pc)) {
        r[15] = pc;
        return kFaulted;
    }
    return kGoOn;
}

bool Cpu::Execute(uint32_t insn, uint32_t pc) {
    switch ((insn >> 25) & 7) {
    case 0:
        if ((insn & 0x0FFF'FFF0) == 0x012F'FF10) { // BX
            uint32_t target = Reg(insn & 15, pc);
            if (target & 1)
                return Unimplemented(insn, pc, "BX to Thumb state");
            r[15] = target & ~3u;
            return true;
        }
        if ((insn & 0x90) == 0x90) {
            if ((insn & 0x60) == 0)
                return (insn & 0x0180'0000) == 0x0100'0000
                           ? Unimplemented(insn, pc, "SWP")
                           : (insn & 0x0100'0000) ? Unimplemented(insn, pc, "an undefined multiply")
                                                  : Multiply(insn);
            return HalfwordTransfer(insn, pc);
        }
        return DataProcessing(insn, pc);
    case 1:
        return DataProcessing(insn, pc);
    case 2:
        return SingleTransfer(insn, pc);
    case 3:
        if (insn & 0x10)
            return Unimplemented(insn, pc, "an undefined instruction");
        return SingleTransfer(insn, pc);
    case 4:
        return BlockTransfer(insn, pc);
    case 5: {
        int32_t offset = static_cast<int32_t>(insn << 8) >> 6;
        if (insn & 0x0100'0000)
            r[14] = pc + 4;
        r[15] = pc + 8 + static_cast<uint32_t>(offset);
        return true;
    }
    default:
        return Unimplemented(insn, pc, (insn & 0x0F00'0000) == 0x0F00'0000 ? "SWI"
                                                                            : "a coprocessor form");
    }
}

bool Cpu::DataProcessing(uint32_t insn, uint32_t pc) {
    uint32_t opcode = (insn >> 21) & 15;
    bool setFlags = (insn >> 20) & 1;
    if (opcode >= 8 && opcode <= 11 && !setFlags)
        return Unimplemented(insn, pc, "MRS/MSR");
    Shifted op2;
    if (insn & 0x0200'0000) {
        uint32_t rotate = ((insn >> 8) & 15) * 2;
        uint32_t value = Ror(insn & 0xFF, rotate);
        op2 = {value, rotate ? (value >> 31) != 0 : c};
    } else if (insn & 0x10) {
        uint32_t rm = insn & 15, rs = (insn >> 8) & 15, rn = (insn >> 16) & 15;
        if (rm == 15 || rs == 15 || rn == 15 || ((insn >> 12) & 15) == 15)
            return Unimplemented(insn, pc, "the pc in a shift by register");
        op2 = ShiftByRegister((insn >> 5) & 3, r[rm], r[rs] & 0xFF, c);
    } else {
        op2 = ShiftByImmediate((insn >> 5) & 3, Reg(insn & 15, pc), (insn >> 7) & 31, c);
    }
    uint32_t a = Reg((insn >> 16) & 15, pc), b = op2.value, result = 0;
    uint32_t rd = (insn >> 12) & 15;
    if (rd == 15 && setFlags)
        return Unimplemented(insn, pc, "a flag-setting write of the pc (a mode change)");
    bool logical = false, carry = c, overflow = v;
    auto add = [&](uint32_t x, uint32_t y, uint32_t carryIn) {
        uint64_t wide = uint64_t(x) + y + carryIn;
        result = static_cast<uint32_t>(wide);
        carry = (wide >> 32) != 0;
        overflow = (~(x ^ y) & (x ^ result)) >> 31;
    };
    switch (opcode) {
    case 0x0: result = a & b; logical = true; break;                 // AND
    case 0x1: result = a ^ b; logical = true; break;                 // EOR
    case 0x2: add(a, ~b, 1); break;                                  // SUB
    case 0x3: add(b, ~a, 1); break;                                  // RSB
    case 0x4: add(a, b, 0); break;                                   // ADD
    case 0x5: add(a, b, c); break;                                   // ADC
    case 0x6: add(a, ~b, c); break;                                  // SBC
    case 0x7: add(b, ~a, c); break;                                  // RSC
    case 0x8: result = a & b; logical = true; break;                 // TST
    case 0x9: result = a ^ b; logical = true; break;                 // TEQ
    case 0xA: add(a, ~b, 1); break;                                  // CMP
    case 0xB: add(a, b, 0); break;                                   // CMN
    case 0xC: result = a | b; logical = true; break;                 // ORR
    case 0xD: result = b; logical = true; break;                     // MOV
    case 0xE: result = a & ~b; logical = true; break;                // BIC
    default: result = ~b; logical = true; break;                     // MVN
    }
    if (setFlags) {
        n = result >> 31;
        z = result == 0;
        c = logical ? op2.carry : carry;
        if (!logical)
            v = overflow;
    }
    if (opcode < 8 || opcode > 11)
        r[rd] = rd == 15 ? result & ~3u : result;
    return true;
}

bool Cpu::Multiply(uint32_t insn) {
    uint32_t rd = (insn >> 16) & 15, rn = (insn >> 12) & 15, rs = (insn >> 8) & 15, rm = insn & 15;
    bool setFlags = (insn >> 20) & 1;
    if (rd == 15 || rn == 15 || rs == 15 || rm == 15)
        return Unimplemented(insn, r[15] - 4, "the pc in a multiply");
    if (!(insn & 0x0080'0000)) { // MUL, MLA
        uint32_t result = r[rm] * r[rs] + ((insn & 0x0020'0000) ? r[rn] : 0);
        r[rd] = result;
        if (setFlags) {
            n = result >> 31;
            z = result == 0;
        }
        return true;
    }
    // UMULL, UMLAL, SMULL, SMLAL: RdLo is bits 12-15, RdHi bits 16-19.
    uint64_t product = (insn & 0x0040'0000)
                           ? static_cast<uint64_t>(int64_t(int32_t(r[rm])) * int32_t(r[rs]))
                           : uint64_t(r[rm]) * r[rs];
    if (insn & 0x0020'0000)
        product += (uint64_t(r[rd]) << 32) | r[rn];
    r[rn] = static_cast<uint32_t>(product);
    r[rd] = static_cast<uint32_t>(product >> 32);
    if (setFlags) {
        n = (product >> 63) != 0;
        z = product == 0;
    }
    return true;
}

bool Cpu::SingleTransfer(uint32_t insn, uint32_t pc) {
    bool pre = (insn >> 24) & 1, up = (insn >> 23) & 1, byte = (insn >> 22) & 1;
    bool writeBack = (insn >> 21) & 1, load = (insn >> 20) & 1;
    uint32_t rn = (insn >> 16) & 15, rd = (insn >> 12) & 15;
    if (!pre && writeBack)
        return Unimplemented(insn, pc, "a user-mode transfer (LDRT/STRT)");
    if ((writeBack || !pre) && rn == 15)
        return Unimplemented(insn, pc, "write-back to the pc");
    if (!load && rd == 15)
        return Unimplemented(insn, pc, "a store of the pc");
    uint32_t offset;
    if (insn & 0x0200'0000) {
        if (((insn >> 4) & 15) == 15 || (insn & 15) == 15)
            return Unimplemented(insn, pc, "the pc as an offset");
        offset = ShiftByImmediate((insn >> 5) & 3, r[insn & 15], (insn >> 7) & 31, c).value;
    } else {
        offset = insn & 0xFFF;
    }
    uint32_t base = Reg(rn, pc);
    uint32_t moved = up ? base + offset : base - offset;
    uint32_t address = pre ? moved : base;
    uint32_t size = byte ? 1 : 4;
    uint8_t *p = (address & (size - 1)) ? nullptr : At(address, size);
    if (!p)
        return BadAccess(insn, pc, address, size);
    if (load) {
        uint32_t value = byte ? *p : Load32(p);
        if (writeBack || !pre)
            r[rn] = moved;
        if (rd == 15) {
            if (value & 3)
                return Unimplemented(insn, pc, "a load of the pc that leaves ARM state");
            r[15] = value;
        } else {
            r[rd] = value;
        }
    } else {
        uint32_t value = r[rd];
        if (byte)
            *p = static_cast<uint8_t>(value);
        else
            Store32(p, value);
        if (writeBack || !pre)
            r[rn] = moved;
    }
    return true;
}

bool Cpu::HalfwordTransfer(uint32_t insn, uint32_t pc) {
    bool pre = (insn >> 24) & 1, up = (insn >> 23) & 1, immediate = (insn >> 22) & 1;
    bool writeBack = (insn >> 21) & 1, load = (insn >> 20) & 1;
    uint32_t rn = (insn >> 16) & 15, rd = (insn >> 12) & 15, kind = (insn >> 5) & 3;
    if (!load && kind != 1)
        return Unimplemented(insn, pc, "LDRD/STRD (ARMv5E)");
    if (!pre && writeBack)
        return Unimplemented(insn, pc, "a post-indexed halfword transfer with W set");
    if (rd == 15 || ((writeBack || !pre) && rn == 15))
        return Unimplemented(insn, pc, "the pc in a halfword transfer");
    uint32_t offset;
    if (immediate) {
        offset = ((insn >> 4) & 0xF0) | (insn & 15);
    } else {
        if ((insn & 15) == 15 || ((insn >> 8) & 15))
            return Unimplemented(insn, pc, "a halfword transfer's register offset");
        offset = r[insn & 15];
    }
    uint32_t base = Reg(rn, pc);
    uint32_t moved = up ? base + offset : base - offset;
    uint32_t address = pre ? moved : base;
    uint32_t size = kind == 2 ? 1 : 2;
    uint8_t *p = (address & (size - 1)) ? nullptr : At(address, size);
    if (!p)
        return BadAccess(insn, pc, address, size);
    if (load) {
        uint32_t value = p[0] | (size == 2 ? p[1] << 8 : 0);
        if (kind == 2)
            value = static_cast<uint32_t>(static_cast<int8_t>(value));
        else if (kind == 3)
            value = static_cast<uint32_t>(static_cast<int16_t>(value));
        if (writeBack || !pre)
            r[rn] = moved;
        r[rd] = value;
    } else {
        p[0] = static_cast<uint8_t>(r[rd]);
        p[1] = static_cast<uint8_t>(r[rd] >> 8);
        if (writeBack || !pre)
            r[rn] = moved;
    }
    return true;
}

bool Cpu::BlockTransfer(uint32_t insn, uint32_t pc) {
    bool pre = (insn >> 24) & 1, up = (insn >> 23) & 1, writeBack = (insn >> 21) & 1;
    bool load = (insn >> 20) & 1;
    uint32_t rn = (insn >> 16) & 15, list = insn & 0xFFFF;
    if (insn & 0x0040'0000)
        return Unimplemented(insn, pc, "LDM/STM of the user bank (^)");
    if (list == 0 || rn == 15 || (list & 0x8000))
        return Unimplemented(insn, pc, "LDM/STM of the pc or with no registers");
    uint32_t count = __builtin_popcount(list);
    uint32_t base = r[rn];
    // The lowest register goes to the lowest address in every mode.
    uint32_t start = up ? base + (pre ? 4 : 0) : base - 4 * count + (pre ? 0 : 4);
    uint32_t end = up ? base + 4 * count : base - 4 * count;
    uint8_t *p = (start & 3) ? nullptr : At(start, 4 * count);
    if (!p)
        return BadAccess(insn, pc, start, 4 * count);
    if (load) {
        if (writeBack)
            r[rn] = end;
        for (uint32_t i = 0; i < 15; ++i)
            if (list & (1u << i)) {
                r[i] = Load32(p);
                p += 4;
            }
    } else {
        for (uint32_t i = 0; i < 15; ++i)
            if (list & (1u << i)) {
                Store32(p, r[i]);
                p += 4;
            }
        if (writeBack)
            r[rn] = end;
    }
    return true;
}

} // namespace arm
