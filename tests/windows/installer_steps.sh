# The installer's part of a run under Wine (sourced by run_under_wine.sh): a silent install
# with its Start-menu shortcut and installed-programs entry, and a silent uninstall that
# leaves none of its files and no registry entry behind.

readonly uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\paddleball'

# Installs with installer $1; game_dir is where its shortcut starts the game it installed.
install_with() {
  local version target folder shortcut
  version=$(basename "$1" | sed -n 's/^paddleball-\(.*\)-win[0-9]*-setup\.exe$/\1/p')
  touch "$work/installed"
  timeout "$step_timeout" wine "$1" /S || fail "the silent install failed"
  timeout "$step_timeout" wineserver -w
  shortcut=$(find "$WINEPREFIX/drive_c/users" -path '*/Start Menu/Programs/Paddleball.lnk')
  [[ -f $shortcut ]] || fail "no Start-menu shortcut"
  { read -r target && read -r folder; } < <(python3 "$(dirname "$0")/read_shortcut.py" "$shortcut")
  [[ $target == "$folder\\paddleball.exe" ]] || fail "the shortcut starts $target in $folder"
  game_dir=$(winepath -u "$folder" 2>/dev/null)
  wine reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | tr -d '\r' |
    grep -q "REG_SZ *$version\$" || fail "no installed-programs entry of version $version"
}

# Uninstalls silently and checks that no file, folder or registry entry of the game is left.
uninstall_and_check() {
  # The uninstaller goes on in a temporary copy of itself; the server waits for that too.
  timeout "$step_timeout" wine "$game_dir/uninstall.exe" /S || fail "the uninstall failed"
  timeout "$step_timeout" wineserver -w
  [[ ! -e $game_dir ]] || fail "left behind: $(find "$game_dir" | head -n 5)"
  ! find "$WINEPREFIX/drive_c" -type f -newer "$work/installed" ! -path '*/Temp/*' | grep . ||
    fail "the files above are left"
  ! grep -il paddleball "$WINEPREFIX"/*.reg || fail "registry entries of the game are left"
}
