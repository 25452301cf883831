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
    local display=99
    while [[ -e /tmp/.X11-unix/X$display || -e /tmp/.X$display-lock ]]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    for _ in $(seq 50); do
        [[ -e /tmp/.X11-unix/X$display ]] && break
        sleep 0.1
    done
    DISPLAY=":$display" openbox >/dev/null 2>&1 &
    local wm=$!
    sleep 1
    local output=$root/docs/screenshots/windows
    mkdir -p "$output"
    local status=0
    DISPLAY=":$display" timeout 600 "$wine" "$build/bin/windows-shots.exe" "Z:$output" "$dataset" \
        English Korean || status=$?
    kill "$wm" "$xvfb" 2>/dev/null || true
    ((status == 0)) || fail "windows-shots.exe could not take every picture"
}
