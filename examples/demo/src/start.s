# Start-up code: the vector table, then _start copies the initialised data
# from its load address, clears the zero-initialised data and calls main.
        .include "board.inc"

        .section .vects,"a"
        .globl  _vectors
_vectors:
        .quad   _start
        .rept   VECTOR_COUNT - 1
        .quad   _default_handler
        .endr

        .text
        .globl  _start
_start:
        movq    $_stack + STACK_SIZE, %rsp
        movq    $_mdata, %rsi
        movq    $_data, %rdi
        movq    $_edata, %rcx
        subq    %rdi, %rcx
        rep movsb
        movq    $_bss, %rdi
        movq    $_ebss, %rcx
        subq    %rdi, %rcx
        xorl    %eax, %eax
        rep stosb
        call    main
_default_handler:
        hlt
        jmp     _default_handler

        .section .stack,"aw",@nobits
        .space  STACK_SIZE

        .section .note.GNU-stack,"",@progbits
