# Windows release builds ship one self-contained .exe. With the C++ runtime linked in
# statically, most of its size is runtime code the program never calls, so each function
# and datum gets its own section for the linker to drop, and the result is stripped.
if(WIN32)
    set(_tolvane_release "$<CONFIG:MinSizeRel,Release>")
    add_compile_options("$<${_tolvane_release}:-ffunction-sections;-fdata-sections>")
    add_link_options("$<${_tolvane_release}:LINKER:--gc-sections;-s>")

    # The runtime's default terminate handler prints the exception's demangled type to
    # stderr, which a GUI program does not have, and brings a demangler and printf with
    # floating point along: a third of the x86 program. The shipped program ends as the
    # handler would, without the message. Test programs keep the message.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
        set(_tolvane_c_prefix "_")  # i686 C names carry a leading underscore
    else()
        set(_tolvane_c_prefix "")
    endif()
    set(TOLVANE_QUIET_TERMINATE
        "LINKER:--defsym=${_tolvane_c_prefix}_ZN9__gnu_cxx27__verbose_terminate_handlerEv=${_tolvane_c_prefix}abort")
    # Likewise the runtime's throw helpers (an allocation failed, a string grown too long...).
    # The program catches no exception, so each throw would end there too; but their
    # exception classes bring a second std::string implementation along, another third.
    foreach(helper _ZSt17__throw_bad_allocv _ZSt19__throw_logic_errorPKc
                   _ZSt20__throw_length_errorPKc _ZSt24__throw_out_of_range_fmtPKcz
                   _ZSt25__throw_bad_function_callv _ZSt28__throw_bad_array_new_lengthv)
        list(APPEND TOLVANE_QUIET_TERMINATE
             "LINKER:--defsym=${_tolvane_c_prefix}${helper}=${_tolvane_c_prefix}abort")
    endforeach()
    function(_tolvane_quiet_terminate)
        if(TARGET Tolvane)
            target_link_options(Tolvane PRIVATE "$<$<CONFIG:MinSizeRel,Release>:${TOLVANE_QUIET_TERMINATE}>")
        endif()
    endfunction()
    # The program's target is defined further down the tree.
    cmake_language(DEFER CALL _tolvane_quiet_terminate)
    unset(_tolvane_release)
    unset(_tolvane_c_prefix)
endif()
