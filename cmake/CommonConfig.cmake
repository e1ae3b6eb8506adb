# One place for the language level, warnings and Qt strictness; every target links it.
add_library(vosmira_common INTERFACE)
target_compile_features(vosmira_common INTERFACE cxx_std_20)
target_compile_options(vosmira_common INTERFACE -Wall -Wextra -pedantic)
target_compile_definitions(vosmira_common INTERFACE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_URL_CAST_FROM_STRING
    QT_USE_QSTRINGBUILDER
    QT_NO_FOREACH
    QT_STRICT_ITERATORS
    QT_DISABLE_DEPRECATED_BEFORE=0x060400)
