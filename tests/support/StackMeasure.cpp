#include "StackMeasure.h"

#if defined(PENDREL_HAS_TWO_CALLING_CONVENTIONS)

#include <cstddef>

// The call itself is made in assembly, so that no compiler-generated frame
// code restores the stack pointer before it is read. One test thread at a
// time uses these.
extern "C" {
const void* pendrel_measuredFunction;
const void* pendrel_measuredArguments[4];
unsigned long pendrel_measuredCount;
unsigned long pendrel_stackBeforeCall;
unsigned long pendrel_stackAfterCall;
long pendrel_measuredResult;
void pendrel_MeasureCall();
}

// Saves the registers both conventions keep, pushes the arguments right to
// left, calls, notes the stack pointer, then restores it from EBP (which
// every convention preserves) whatever the function removed.
__asm__(
    ".text\n"
    ".globl _pendrel_MeasureCall\n"
    "_pendrel_MeasureCall:\n"
    "    pushl %ebp\n"
    "    pushl %ebx\n"
    "    pushl %esi\n"
    "    pushl %edi\n"
    "    movl %esp, %ebp\n"
    "    movl _pendrel_measuredCount, %ecx\n"
    "1:  testl %ecx, %ecx\n"
    "    jz 2f\n"
    "    pushl _pendrel_measuredArguments-4(,%ecx,4)\n"
    "    decl %ecx\n"
    "    jmp 1b\n"
    "2:  movl %esp, _pendrel_stackBeforeCall\n"
    "    call *_pendrel_measuredFunction\n"
    "    movl %eax, _pendrel_measuredResult\n"
    "    movl %esp, _pendrel_stackAfterCall\n"
    "    movl %ebp, %esp\n"
    "    popl %edi\n"
    "    popl %esi\n"
    "    popl %ebx\n"
    "    popl %ebp\n"
    "    ret\n");

MeasuredCall CallMeasuringTheStack(const void* function, std::initializer_list<const void*> arguments) {
    pendrel_measuredFunction = function;
    pendrel_measuredCount = 0;
    for (const void* argument : arguments) {
        if (pendrel_measuredCount == 4) break;
        pendrel_measuredArguments[pendrel_measuredCount++] = argument;
    }
    pendrel_MeasureCall();
    return {pendrel_measuredResult, pendrel_stackAfterCall - pendrel_stackBeforeCall};
}

#endif
