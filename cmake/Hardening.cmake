# Hardened binaries on every build; tests/hardening reads the flags back from the results.
include(CheckPIESupported)

if(TOLVANE_PLATFORM STREQUAL "linux")
    # Position-independent executables, so the loader can place them anywhere.
    check_pie_supported(LANGUAGES CXX)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    add_compile_options(-fstack-protector-strong)
    # Full RELRO: every relocation done at start, then the tables made read-only.
    add_link_options(-Wl,-z,relro,-z,now)
    # The checked variants of the C library need the optimiser; the sanitizers replace them.
    if(NOT TOLVANE_SANITIZE AND NOT TOLVANE_FUZZ)
        add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
    endif()
elseif(WIN32)
    # Address-space randomisation and no execution from data pages; binutils 2.40 sets
    # these by default, but a default can change, so they are asked for.
    add_link_options(-Wl,--dynamicbase -Wl,--nxcompat)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        add_link_options(-Wl,--high-entropy-va)
    endif()
endif()
