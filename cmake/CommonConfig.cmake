# One interface target carries the warning flags and Qt's safety switches for every target.
add_library(forkwise_common INTERFACE)
target_compile_features(forkwise_common INTERFACE cxx_std_20)
target_compile_options(forkwise_common INTERFACE -Wall -Wextra -Wpedantic)
target_compile_definitions(forkwise_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CONTEXTLESS_CONNECT
    QT_NO_KEYWORDS)

# Warnings as errors in the builds CI makes (`make test` and `make sanitize` switch it on). Off
# by default, so that a newer compiler's new warning never stops a person building the program
# to use it.
option(FORKWISE_WERROR "Treat compiler warnings as errors" OFF)
if(FORKWISE_WERROR)
    target_compile_options(forkwise_common INTERFACE -Werror)
endif()

option(FORKWISE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(FORKWISE_SANITIZE)
    target_compile_options(forkwise_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                           -fno-sanitize-recover=undefined)
    target_link_options(forkwise_common INTERFACE -fsanitize=address,undefined)
endif()
