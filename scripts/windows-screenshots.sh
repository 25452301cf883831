# The screenshot part of scripts/windows-check.sh --screenshots, which sources
# this file after the unattended installs (it uses $wine, $build, $root,
# $dataset, $wineserver, fail, unix_path and run_cmd from the other parts).
# Pictures of quillon.exe's windows under Wine on a virtual display with a
# window manager, English and Korean, into docs/screenshots/windows/.

take_screenshots() {
    # Wine's own Tahoma, which its settings give for Windows' dialog font; Wine
    # finds it only in the prefix's font folder.
    cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # One Vestra in an ordinary folder, with the data installed, so that the
    # wizard's install run asks before overwriting.
    "$wine" reg delete 'HKLM\SOFTWARE\Kestrel' /f /reg:64 >/dev/null 2>&1 || true
    "$wine" reg delete 'HKLM\SOFTWARE\Kestrel' /f /reg:32 >/dev/null 2>&1 || true
    local vestra='C:\Program Files\Kestrel\Vestra 3.1'
    mkdir -p "$(unix_path "$vestra")/Bin/Style" "$(unix_path "$vestra")/Bin/stiSample"
    "$wine" reg add 'HKLM\SOFTWARE\Kestrel\Vestra\3.1\Directory' /v Defaultdir /t REG_SZ \
        /d "$vestra" /f /reg:64 >/dev/null
    [[ $(run_cmd 'C:\quillon-check\redirected.bat' "$build/bin/quillon.com" --silent \
        --dataset "\"$dataset\"") == 0 ]] || fail "the install before the screenshots failed"

    # Wine's desktop process starts with the first window program; it must
    # start on the virtual display, so everything started without one ends.
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w
    local output=$root/docs/screenshots/windows
    mkdir -p "$output"
    local status=0
    bash "$root/scripts/virtual-display.sh" timeout 600 "$wine" "$build/bin/windows-shots.exe" \
        "Z:$output" "$dataset" English Korean || status=$?
    ((status == 0)) || fail "windows-shots.exe could not take every picture"
}
