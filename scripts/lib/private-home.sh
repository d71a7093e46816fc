# Sourced by scripts that run the program: a home and XDG folders of their own under $1, so
# nothing they start reads or writes the user's files (the program removes its autostart entry
# when it saves with autostart off).
private_home() {
  local root=$1
  export HOME=$root/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
  export XDG_RUNTIME_DIR=$root/runtime
  mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
  chmod 700 "$XDG_RUNTIME_DIR"
}
