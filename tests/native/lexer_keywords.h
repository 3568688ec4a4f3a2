// Word lists for driving the script lexer in tests and benchmarks: the 185 command
// names of the script language (list 0, lower case) and the register and flag names
// the editor gives as list 1.
#pragma once

namespace quillet::lexertest {

inline constexpr const char *kCommandWords =
    "add ai alloc an ana and ao ask asm asmtxt atoi backup bc bd beginsearch bp bpcnd bpd bpgoto "
    "bphwc bphwcall bphws bpl bplcnd bpmc bprm bpwm bpx buf call close cmp cmt cob coe cret dbh dbs "
    "dec div dm dma dpe else ende endif endsearch eob eoe erun estep esti esto eval exec fill find "
    "findcalls findcmd findcmds findmem findop findoprev free gapi gbpm gbpr gci gcmt gfo glbl gma "
    "gmemi gmexp gmi gmimp gn go gopi goto gpa gpi gpp gref gro gsl gstr gstrw handle history ifa "
    "ifae ifb ifbe ife ifeq ifg ifge ifl ifle ifne ifneq inc inir iniw itoa ja jae jb jbe je jg jge "
    "jl jle jmp jne jnz jz key lbl lc lclr len lm loadlib log logbuf memcpy mov msg msgyn mul names "
    "neg not olly opcode opendump opentrace or pause pop popa preop push pusha rbp readstr ref "
    "refresh repl reset ret rev rol ror rtr rtu run sbp scmp scmpi setoption shl shr step sti sto "
    "str sub tc test ti tick ticnd to tocnd ubp unicode var wrt wrta xchg xor";

inline constexpr const char *kRegisterWords =
    "ax bx cx dx eax ebp ebx ecx edi di si ah sp al bh bl ch cl dh cl edx eip esi esp "
    "!cf !pf !af !zf !sf !df !of";

}  // namespace quillet::lexertest
