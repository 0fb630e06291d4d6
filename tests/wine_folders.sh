# Sourced by the tests that run the Windows build under Wine, which gives its programs the folders of
# its prefix whatever our environment says. LAUNCHER... runs a Windows program (wine-run.sh PREFIX).
# wine_folder NAME LAUNCHER...: the folder %NAME% (APPDATA, LOCALAPPDATA) as Windows writes it.
wine_folder() {
  local name=$1
  shift
  "$@" cmd.exe /c "echo %$name%" 2> /dev/null | tr -d '\r'
}
# wine_unix_path PATH LAUNCHER...: a Windows path as a path here.
wine_unix_path() {
  local path=$1
  shift
  "$@" winepath.exe -u "$path" 2> /dev/null | tr -d '\r'
}
