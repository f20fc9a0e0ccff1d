// Two small 32-bit x86 routines written in assembly, so that the compiler
// cannot realign or otherwise tidy the stack they hand on.
#include "tests/plugin/MisalignedStackCall.h"

extern "C" __attribute__((naked)) std::uint32_t callWithMisalignedStack(const void*, const std::uint32_t*, int, int) {
  // Arguments: 8(%ebp) function, 12(%ebp) args, 16(%ebp) count, 20(%ebp)
  // offset. The copied arguments start 64 bytes or more below the saved
  // registers, at a multiple of 16 less the offset.
  asm("pushl %ebp\n\t"
      "movl %esp, %ebp\n\t"
      "pushl %esi\n\t"
      "pushl %edi\n\t"
      "pushl %ebx\n\t"
      "movl 12(%ebp), %esi\n\t"
      "movl 16(%ebp), %ecx\n\t"
      "leal 0(,%ecx,4), %edi\n\t"
      "negl %edi\n\t"
      "leal -64(%esp,%edi), %edi\n\t"
      "andl $-16, %edi\n\t"
      "subl 20(%ebp), %edi\n\t"
      "movl %edi, %esp\n\t"
      "xorl %ebx, %ebx\n\t"
      "1:\n\t"
      "cmpl %ecx, %ebx\n\t"
      "jge 2f\n\t"
      "movl (%esi,%ebx,4), %edx\n\t"
      "movl %edx, (%edi,%ebx,4)\n\t"
      "incl %ebx\n\t"
      "jmp 1b\n\t"
      "2:\n\t"
      "call *8(%ebp)\n\t"
      "leal -12(%ebp), %esp\n\t"
      "popl %ebx\n\t"
      "popl %edi\n\t"
      "popl %esi\n\t"
      "popl %ebp\n\t"
      "ret");
}

extern "C" __attribute__((naked)) std::uint32_t stackPointerAtEntry() {
  asm("movl %esp, %eax\n\t"
      "ret");
}
