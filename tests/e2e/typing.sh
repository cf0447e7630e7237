# Sourced by the desktop tests: typing as a user does into the main window.
#   type_entry DESCRIPTION USER PASSWORD    with the focus in the description box; seven tabs lead
#                                           to the user ID, two more to the password
type_entry() {
    xdotool type --delay 20 "$1"
    xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab
    xdotool type --delay 20 "$2"
    xdotool key --delay 50 Tab Tab
    xdotool type --delay 20 "$3"
}
