// The run-time helpers clang calls by their ARM EABI names where ARMv4T has no
// instruction: double arithmetic goes to COREDLL's own helpers, 64-bit
// division is done here. Built into the device program only (make device).
#include "platform/platform.h"

extern "C" {

// COREDLL's soft-float helpers, under its own names.
double __muld(double a, double b);
double __u64tod(unsigned long long value);

double __muldf3(double a, double b) {
    return __muld(a, b);
}
double __floatundidf(unsigned long long value) {
    return __u64tod(value);
}

// Bit by bit, 64 steps: the program divides 64-bit figures only when it
// formats the info page. A zero divisor gives all ones, never a trap.
unsigned long long ZbDivideU64(unsigned long long dividend, unsigned long long divisor,
                               unsigned long long *remainder) {
    unsigned long long quotient = 0, rest = 0;
    for (int bit = 63; bit >= 0; --bit) {
        rest = (rest << 1) | ((dividend >> bit) & 1);
        if (rest >= divisor) {
            rest -= divisor;
            quotient |= 1ull << bit;
        }
    }
    *remainder = rest;
    return quotient;
}

// Truncating, the remainder with the dividend's sign, as C++ divides.
long long ZbDivideS64(long long dividend, long long divisor, long long *remainder) {
    unsigned long long a = dividend < 0 ? 0 - static_cast<unsigned long long>(dividend) : dividend;
    unsigned long long b = divisor < 0 ? 0 - static_cast<unsigned long long>(divisor) : divisor;
    unsigned long long rest;
    unsigned long long quotient = ZbDivideU64(a, b, &rest);
    *remainder = dividend < 0 ? -static_cast<long long>(rest) : static_cast<long long>(rest);
    return (dividend < 0) != (divisor < 0) ? -static_cast<long long>(quotient)
                                           : static_cast<long long>(quotient);
}

// __aeabi_[u]ldivmod(dividend in r0:r1, divisor in r2:r3) return the quotient
// in r0:r1 and the remainder in r2:r3, which no C function can: the division
// above writes the remainder below the stack pointer's argument slot.
#define ZB_DIVMOD(name, divide)                                                                    \
    __attribute__((naked)) void name() {                                                           \
        asm("push {r4, lr}\n\t"                                                                    \
            "sub sp, sp, #16\n\t"                                                                  \
            "add r4, sp, #8\n\t"                                                                   \
            "str r4, [sp]\n\t"                                                                     \
            "bl " #divide "\n\t"                                                                   \
            "ldr r2, [sp, #8]\n\t"                                                                 \
            "ldr r3, [sp, #12]\n\t"                                                                \
            "add sp, sp, #16\n\t"                                                                  \
            "pop {r4, lr}\n\t"                                                                     \
            "bx lr");                                                                              \
    }
ZB_DIVMOD(__aeabi_uldivmod, ZbDivideU64)
ZB_DIVMOD(__aeabi_ldivmod, ZbDivideS64)

} // extern "C"
