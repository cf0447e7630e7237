# Sets EXEC to the desktop entry's Exec value that starts PROGRAM: one argument, quoted, with the
# characters that desktop entries reserve escaped, so that a folder with a blank or a quote in its
# name still starts the program from the menus.
string(REPLACE "\\" "\\\\" EXEC "${PROGRAM}")
string(REPLACE "\"" "\\\"" EXEC "${EXEC}")
string(REPLACE "`" "\\`" EXEC "${EXEC}")
string(REPLACE "$" "\\$" EXEC "${EXEC}")
string(REPLACE "%" "%%" EXEC "${EXEC}")
# The quoted argument stands in a string value, whose own escapes double each backslash again.
string(REPLACE "\\" "\\\\" EXEC "\"${EXEC}\"")
