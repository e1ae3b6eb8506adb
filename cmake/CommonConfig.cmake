# One place for the language level, warnings, Qt strictness and the sanitizers;
# every target links it.
option(VOSMIRA_WERROR "Treat compiler warnings as errors" OFF)
option(VOSMIRA_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(VOSMIRA_FUZZ "Build the libFuzzer targets (clang), everything instrumented for them" OFF)
if(VOSMIRA_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VOSMIRA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

add_library(vosmira_common INTERFACE)
target_compile_features(vosmira_common INTERFACE cxx_std_20)
target_compile_options(vosmira_common INTERFACE
    -Wall -Wextra -pedantic
    -Wshadow -Wold-style-cast -Wcast-qual -Wnon-virtual-dtor -Woverloaded-virtual)
if(VOSMIRA_WERROR)
    target_compile_options(vosmira_common INTERFACE -Werror)
endif()
if(VOSMIRA_SANITIZE OR VOSMIRA_FUZZ)
    # Any report fails the run: nothing recovers and carries on.
    set(sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    if(VOSMIRA_FUZZ)
        # Coverage for the fuzzer everywhere; its main only in the fuzz targets.
        list(APPEND sanitize_flags -fsanitize=fuzzer-no-link)
    endif()
    target_compile_options(vosmira_common INTERFACE ${sanitize_flags})
    target_link_options(vosmira_common INTERFACE ${sanitize_flags})
endif()
target_compile_definitions(vosmira_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER
    QT_NO_FOREACH
    QT_STRICT_ITERATORS
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)
