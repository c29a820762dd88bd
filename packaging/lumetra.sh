#!/bin/sh
# Starts Lumetra on its data folder: the one the administrator set in the
# configuration file (a line "cartella=FOLDER"), else ~/Lumetra. A folder
# that does not exist yet is made by the program, with the first password.
#   LUMETRA_CONF  the configuration file (default /etc/lumetra.conf)
#   LUMETRA_HOME  a data folder of the user's own, before the file's
# Options given here go to the program: "--cartella FOLDER" overrides both.
set -eu

conf="${LUMETRA_CONF:-/etc/lumetra.conf}"
folder="${LUMETRA_HOME:-}"
if [ -z "$folder" ] && [ -r "$conf" ]; then
  # The last "cartella=" line counts; spaces around the name and the value
  # are dropped.
  folder="$(sed -n 's/^[[:space:]]*cartella[[:space:]]*=[[:space:]]*//p' "$conf" | tail -n 1 |
    sed 's/[[:space:]]*$//')"
fi
# shellcheck disable=SC2088 # a literal ~ from the file, expanded here
case "$folder" in
  "~") folder="$HOME" ;;
  "~/"*) folder="$HOME/${folder#"~/"}" ;;
esac
if [ -z "$folder" ]; then
  folder="$HOME/Lumetra"
fi

# The program lies in lib/lumetra beside this script's bin folder.
here="$(dirname "$(readlink -f "$0")")"
exec "$here/../lib/lumetra/Lumetra" --cartella "$folder" "$@"
