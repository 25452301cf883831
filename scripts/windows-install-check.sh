# The unattended-install part of scripts/windows-check.sh, which sources this
# file after the Windows and Linux builds (it uses $wine, $build, $root, fail
# and part).
# Windows paths are written here as a person types them, with backslashes.

c_drive=$WINEPREFIX/drive_c
check=$build/check
bin_windows=$build/bin
bin_linux=$root/build/default/bin

# C:\x\y as this machine sees it.
unix_path() {
    local path=${1#C:\\}
    echo "$c_drive/${path//\\//}"
}

# Runs a batch file under Wine's cmd with the program and its arguments in the
# environment (batch files themselves are read in the console's code page, so
# they hold nothing but ASCII) and prints the exit status cmd saw.
# Output that the batch file redirects goes to C:\quillon-check\out.txt.
run_cmd() {
    local batch=$1 program=$2
    shift 2
    QUILLON_PROGRAM=$program QUILLON_ARGS="$*" QUILLON_OUT='C:\quillon-check\out.txt' \
        timeout 600 "$wine" cmd /c "$batch" | tr -d '\r' | sed -n 's/^exit=//p'
}

expect_status() {
    local what=$1 expected=$2 actual=$3
    [[ $actual == "$expected" ]] || fail "$what: exit status '$actual', expected $expected"
    echo "  $what: exit status $actual, as expected"
}

write_batches() {
    mkdir -p "$c_drive/quillon-check"
    # The console program: cmd waits for it, and %ERRORLEVEL% is its exit status.
    printf '%s\r\n' '@echo off' '"%QUILLON_PROGRAM%" %QUILLON_ARGS% > "%QUILLON_OUT%"' \
        'echo exit=%ERRORLEVEL%' >"$c_drive/quillon-check/redirected.bat"
    printf '%s\r\n' '@echo off' '"%QUILLON_PROGRAM%" %QUILLON_ARGS%' 'echo exit=%ERRORLEVEL%' \
        >"$c_drive/quillon-check/console.bat"
    # The window program, as a deployment script has to start it.
    printf '%s\r\n' '@echo off' 'start "" /wait "%QUILLON_PROGRAM%" %QUILLON_ARGS%' \
        'echo exit=%ERRORLEVEL%' >"$c_drive/quillon-check/window.bat"
}

# Plain data with folder and file names in Korean, Thai and Chinese besides
# the sample data, packed by the Linux and the Windows quillon-pack.
make_data_sets() {
    local plain=$check/plain
    cp -r samples/plain "$plain"
    local unit='정장 สูท 西装'
    mkdir -p "$plain/STY_2027SS/$unit" "$plain/STI_2027SS/$unit" "$plain/DETAIL_2027SS/단추 กระดุม 纽扣"
    cp samples/plain/STY_2027SS/Sports/Jacket/JK27S01.sty "$plain/STY_2027SS/$unit/재킷 เสื้อ 夹克.sty"
    cp samples/plain/STI_2027SS/Formal/Coat/CT27S01.sti "$plain/STI_2027SS/$unit/재킷 เสื้อ 夹克.sti"
    cp samples/plain/DETAIL_2027SS/Buttons/BT27S01.tfc "$plain/DETAIL_2027SS/단추 กระดุม 纽扣/단추.tfc"
    # Paths past 260 characters in the data set itself, which quillon-pack.exe
    # reads and writes and quillon.com reads.
    local long='A unit folder whose long name takes the data set past 260 characters'
    long="$long 1/$long 2/$long 3/$long 4"
    mkdir -p "$plain/STI_2027SS/$long"
    cp samples/plain/STI_2027SS/Formal/Coat/CT27S01.sti "$plain/STI_2027SS/$long/long.sti"
    local pack_options=(--year 2027 --season S/S --volume 12 --folder STY=STY_2027SS
                        --folder STI=STI_2027SS --folder DETAIL=DETAIL_2027SS)
    "$bin_linux/quillon-pack" "$plain" "$check/linux-dataset" "${pack_options[@]}" >/dev/null
    dataset='C:\Quillon 검사\시즌 2027SS'
    "$wine" "$bin_windows/quillon-pack.exe" "Z:$plain" "$dataset" "${pack_options[@]}" >/dev/null \
        || fail "quillon-pack.exe could not pack the data set"
    diff -r "$check/linux-dataset" "$(unix_path "$dataset")" >/dev/null \
        || fail "quillon-pack.exe and the Linux quillon-pack made different data sets"
    local longest="$dataset\\STI_2027SS\\${long//\//\\}\\long.sti_"
    ((${#longest} > 260)) || fail "the data set's longest path is only ${#longest} characters long"
    echo "  quillon-pack.exe packed the same data set as the Linux build, in $dataset," \
        "with a path of ${#longest} characters"
}

# Vestra 2.5 in the registry's 64-bit view; the newer 3.1, a 32-bit program,
# in the 32-bit view, in a folder whose data folders lie past 260 characters.
write_registry() {
    older='C:\Program Files\Kestrel\Vestra 2.5'
    vestra='C:\Program Files (x86)\Kestrel\스타일 데이터 설치 검사를 위한 아주 긴 한국어 폴더 이름'
    vestra+='\โฟลเดอร์ชื่อยาวสำหรับทดสอบเส้นทางที่ยาวกว่าสองร้อยหกสิบตัวอักษร'
    vestra+='\用于测试超过二百六十个字符的长路径的中文文件夹名称'
    vestra+='\A long folder name that takes every data folder past 260 characters'
    vestra+='\Kestrel Vestra 3.1 for the long path check\Vestra 3.1'
    local destination="$vestra\\Bin\\STY_2027SS"
    ((${#destination} > 260)) || fail "the destination is only ${#destination} characters long"
    mkdir -p "$(unix_path "$older")/Bin" "$(unix_path "$vestra")/Bin"
    "$wine" reg add 'HKLM\SOFTWARE\Kestrel\Vestra\2.5\Directory' /v Defaultdir /t REG_SZ \
        /d "$older" /f /reg:64 >/dev/null
    "$wine" reg add 'HKLM\SOFTWARE\Kestrel\Vestra\3.1\Directory' /v Defaultdir /t REG_SZ \
        /d "$vestra" /f /reg:32 >/dev/null
    echo "  Registry: Vestra 2.5 (64-bit view), Vestra 3.1 (32-bit view) whose STY folder is" \
        "${#destination} characters long"
}

linux_install() {
    mkdir -p "$linux_vestra/Bin" "$check/linux/status"
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
        '[HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel\Vestra\3.1\Directory]' \
        "\"Defaultdir\"=\"$linux_vestra\"" >"$check/linux/registry.reg"
    local status=0
    # The Linux build's lock in a folder of this check's, so that no other
    # tree's run on this machine waits for it; the Windows runs take theirs in
    # the Wine prefix's C:\ProgramData\Quillon.
    QUILLON_LOCK_DIR=$check/linux/locks "$bin_linux/quillon" --silent --dataset "$check/linux-dataset" --registry "$check/linux/registry.reg" \
        --status-dir "$check/linux/status" "$@" >/dev/null || status=$?
    echo "$status"
}

same_tree() {
    diff -r "$linux_vestra/Bin" "$(unix_path "$vestra")/Bin" >/dev/null \
        || fail "$1: the tree installed under Wine differs from the Linux build's"
    [[ -z $(ls -A "$(unix_path "$older")/Bin") ]] || fail "$1: data went to the older Vestra 2.5"
    echo "  $1: the installed tree is byte for byte the Linux build's ($(find "$linux_vestra/Bin" -type f | wc -l) files)"
}

# The text of a number in a language file's InstallForm section.
install_text() {
    sed -n '/^\[InstallForm\]/,/^\[/p' "resources/$1.tdw" | sed -n "s/^$2=//p" | tr -d '\r' | sed 's/^"\(.*\)"$/\1/'
}

# A status file's lines, sorted, with Vestra's folder as <vestra> and "/" for
# "\\". The lines for folders that exist already are left out: the first folder
# of the listing is never named, and Windows lists a folder sorted by name
# where Linux takes the order the file system gives.
normalized() {
    local text
    text=$(tr -d '\r' <"$1" | grep -vF "$(install_text English 40)")
    text=${text//"$2"/<vestra>}
    printf '%s\n' "${text//\\//}" | sort
}

# The status files in C:\ name the same files as the Linux build's, in
# Windows form: Vestra's folder with backslashes.
same_status_files() {
    local today kind
    today=$(date +%F)
    for kind in STY STI DETAIL; do
        local name=${kind}_Install_Status-$today.txt
        [[ -f $c_drive/$name ]] || fail "no status file C:\\$name"
        grep -qF "$vestra\\Bin\\${kind}_2027SS\\" "$c_drive/$name" \
            || fail "C:\\$name names no file in Windows form"
        cmp -s <(normalized "$c_drive/$name" "$vestra") \
            <(normalized "$check/linux/status/$name" "$linux_vestra") \
            || fail "C:\\$name does not list what the Linux build's status file lists"
    done
    echo "  Status files in C:\\ for STY, STI and DETAIL, listing what the Linux build lists"
}

# What a person sees in a console: cmd in a terminal. Wine draws the console
# with cursor movements between the characters, which are taken out.
console_text() {
    local program=$1
    shift
    QUILLON_PROGRAM=$program QUILLON_ARGS="$*" \
        script -qec "$wine cmd /c C:\\\\quillon-check\\\\console.bat" /dev/null </dev/null \
        | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r' || true
}

# The same install with every path as a Linux user writes it: the data set,
# the registry export and, inside it, Vestra's folder, which Windows reads as
# rooted on the current drive (Z:, this machine's root).
linux_form_paths() {
    local folder=$check/linux-form
    mkdir -p "$folder/Vestra 3.1/Bin"
    printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
        '[HKEY_LOCAL_MACHINE\SOFTWARE\Kestrel\Vestra\3.1\Directory]' \
        "\"Defaultdir\"=\"$folder/Vestra 3.1\"" >"$folder/registry.reg"
    expect_status "quillon.com, paths in Linux form (/work/..., rooted on the current drive)" 0 \
        "$(run_cmd 'C:\quillon-check\redirected.bat' "$bin_windows/quillon.com" --silent \
            --dataset "$check/linux-dataset" --registry "$folder/registry.reg" --status-dir "$folder")"
    diff -r "$linux_vestra/Bin" "$folder/Vestra 3.1/Bin" >/dev/null \
        || fail "paths in Linux form: the installed tree differs from the Linux build's"
    echo "  Paths in Linux form: the installed tree is byte for byte the Linux build's"
}

# --verify, --silent --repair and --report on the installed Vestra 3.1.
check_and_repair() {
    local com="$bin_windows/quillon.com" batch='C:\quillon-check\redirected.bat'
    local report='C:\quillon-check\report.json'
    expect_status "quillon.com --verify, everything installed" 0 \
        "$(run_cmd "$batch" "$com" --verify --dataset "\"$dataset\"" --report "$report")"
    grep -q '"command": "verify"' "$(unix_path "$report")" || fail "--verify wrote no report"
    local damaged
    damaged="$(unix_path "$vestra")/Bin/STY_2027SS/Sports/Jacket/JK27S01.sty"
    printf 'changed' >>"$damaged"
    expect_status "quillon.com --verify, one file changed" 1 \
        "$(run_cmd "$batch" "$com" --verify --dataset "\"$dataset\"")"
    expect_status "quillon.com --silent --repair --report" 1 \
        "$(run_cmd "$batch" "$com" --silent --repair --dataset "\"$dataset\"" --report "$report")"
    grep -q '"result": "replaced"' "$(unix_path "$report")" \
        || fail "the repair's report names no replaced file"
    expect_status "quillon.com --verify, after the repair" 0 \
        "$(run_cmd "$batch" "$com" --verify --dataset "\"$dataset\"")"
    same_tree "Repaired"
}

# Names that cannot exist on Windows, made by hand on Linux: quillon-pack.exe
# refuses them, and quillon.com fails each such file of a data set, never
# opening a device, and installs the rest.
refused_names() {
    local plain=$check/bad-plain out=$check/bad-out
    mkdir -p "$plain/STY/Case" "$plain/STY/lpt1" "$plain/STY/Coats."
    local sty=samples/plain/STY_2027SS/Sports/Jacket/JK27S01.sty
    for name in Case/con.sty Case/A.sty Case/a.sty lpt1/x.sty Coats./y.sty Case/ok.sty; do
        cp "$sty" "$plain/STY/$name"
    done
    local status=0
    "$wine" "$bin_windows/quillon-pack.exe" "Z:$plain" "Z:$out" >/dev/null 2>"$check/pack-errors.txt" \
        || status=$?
    [[ $status == 1 && ! -e $out && $(grep -c Refusing "$check/pack-errors.txt") == 5 ]] \
        || fail "quillon-pack.exe did not refuse the five names: $(cat "$check/pack-errors.txt")"
    echo "  quillon-pack.exe refuses con.sty, A.sty and a.sty, lpt1 and Coats., and writes nothing"

    local bad=$check/bad-dataset destination='C:\quillon-check\names'
    cp -r "$check/linux-dataset" "$bad"
    local packed=$bad/STY_2027SS/Sports/Jacket/JK27S01.sty_
    mkdir -p "$bad/STY_2027SS/Case" "$bad/STY_2027SS/lpt1" "$(unix_path "$destination")"
    for name in Case/con.sty_ Case/Aux.sty_ Case/A.sty_ Case/a.sty_ lpt1/x.sty_; do
        cp "$packed" "$bad/STY_2027SS/$name"
    done
    expect_status "quillon.com, a data set with names Windows cannot hold" 2 \
        "$(run_cmd 'C:\quillon-check\redirected.bat' "$bin_windows/quillon.com" --silent --lang English \
            --kinds STY --dataset "Z:$bad" --dest "STY=$destination")"
    local lines
    lines=$(grep -c "$(install_text English 190)" "$(unix_path 'C:\quillon-check\out.txt')" || true)
    [[ $lines == 5 ]] || fail "not every refused name has its line ($lines of 5)"
    # The folder of the refused files is made, as every folder of the data set is.
    rmdir "$(unix_path "$destination")/Case" || fail "a refused file was written"
    diff -r "$linux_vestra/Bin/STY_2027SS" "$(unix_path "$destination")" >/dev/null \
        || fail "names Windows cannot hold: what was installed is not the good files alone"
    echo "  Each of con.sty, Aux.sty, A.sty, a.sty and lpt1 fails with its rule; the rest is installed"
}

# A delivery made with --installer: the installed programs check the season
# from their own folder, with no --dataset.
delivery() {
    local delivered='C:\Quillon 배포\Season 2027SS'
    "$wine" "$bin_windows/quillon-pack.exe" "Z:$check/plain" "$delivered" --year 2027 --season S/S \
        --volume 12 --folder STY=STY_2027SS --folder STI=STI_2027SS --folder DETAIL=DETAIL_2027SS \
        --installer "Z:$bin_windows" >"$check/delivery.txt" || fail "quillon-pack.exe --installer failed"
    grep -q "^Total: " "$check/delivery.txt" || fail "quillon-pack.exe --installer listed no total"
    expect_status "the delivered quillon.com --verify, from its own folder" 0 \
        "$(run_cmd 'C:\quillon-check\redirected.bat' "$delivered\quillon.com" --verify)"
}

# A read-only installed file (the attribute) replaced by --overwrite all, and
# the replacement an ordinary file.
read_only_replaced() {
    local com="$bin_windows/quillon.com" file="$vestra\Bin\STI_2027SS\Formal\Coat\CT27S01.sti"
    printf 'changed' >>"$(unix_path "$file")"
    "$wine" attrib +r "$file" >/dev/null
    "$wine" attrib "$file" | tr -d '\r' | grep -q '^ *R ' || fail "attrib +r set no read-only attribute"
    expect_status "quillon.com --overwrite all, a read-only installed file" 1 \
        "$(run_cmd 'C:\quillon-check\redirected.bat' "$com" --silent --dataset "\"$dataset\"" --overwrite all)"
    same_tree "A read-only file replaced"
    "$wine" attrib "$file" | tr -d '\r' | grep -q '^ *R ' && fail "the replaced file is still read-only"
    echo "  The read-only file was replaced, and the new one is not read-only"
}

# A run held half way (after its second file set aside) with its lock: a second
# run gives up at once naming it, a check says a run is in progress; then the
# held run is ended by its Windows process id, and the next start's recovery
# gives back the tree byte for byte.
killed_and_recovered() {
    local com="$bin_windows/quillon.com" batch='C:\quillon-check\redirected.bat'
    local journals=$c_drive/users journal="" pid
    QUILLON_TEST_FAULT=aside:2:hold "$wine" "$com" --silent --dataset "$dataset" --overwrite all \
        >/dev/null 2>&1 &
    local held=$!
    for _ in $(seq 1 600); do
        journal=$(find "$journals" -name 'run-*.journal' 2>/dev/null | head -n 1)
        [[ -n $journal && $(grep -c '^aside' "$journal" 2>/dev/null) == 2 ]] && break
        sleep 0.1
    done
    [[ -n $journal ]] || fail "the held run wrote no journal"
    pid=${journal%.journal}
    pid=${pid##*-}
    echo "  A run held half way: Windows process $pid, journal $(basename "$journal")"
    expect_status "quillon.com --silent --wait 0 while that run holds the lock" 3 \
        "$(run_cmd "$batch" "$com" --silent --dataset "\"$dataset\"" --wait 0)"
    grep -q "$pid" "$(unix_path 'C:\quillon-check\out.txt')" || fail "the second run did not name process $pid"
    expect_status "quillon.com --verify while that run holds the lock" 1 \
        "$(run_cmd "$batch" "$com" --verify --dataset "\"$dataset\"")"
    "$wine" taskkill /F /PID "$pid" >/dev/null 2>&1 || fail "taskkill could not end process $pid"
    wait "$held" 2>/dev/null || true
    [[ -f $journal ]] || fail "the killed run's journal is gone"
    expect_status "quillon.com --verify after the kill (an interrupted run waits)" 1 \
        "$(run_cmd "$batch" "$com" --verify --dataset "\"$dataset\"")"
    expect_status "quillon.com --silent --recover" 0 \
        "$(run_cmd "$batch" "$com" --silent --recover)"
    [[ ! -e $journal ]] || fail "the journal is still there after the recovery"
    same_tree "Recovered after the kill"
}

# What Wine cannot show.
not_shown() {
    echo "  Skipped, not a Windows fault: a stop by Unix SIGTERM (Wine turns it into no console"
    echo "    event; tst_recovery asks the console handler itself), and a full volume mounted"
    echo "    below a drive (Wine answers the free space of the drive; checked on Linux)"
}

install_checks() {
    part "Unattended installs under Wine: data sets and registry"
    rm -rf "$check"
    mkdir -p "$check"
    write_batches
    make_data_sets
    write_registry
    part "Unattended installs under Wine: installs, status files, console"
    local com="$bin_windows/quillon.com" exe="$bin_windows/quillon.exe"
    local out='C:\quillon-check\out.txt'
    local done_text done_word
    done_text=$(install_text Korean 26)
    done_word=${done_text##* } # the console check looks for a word without blanks
    linux_vestra="$check/linux/Vestra 3.1"

    expect_status "Linux build, first install" 0 "$(linux_install --lang Korean)"
    expect_status "quillon.com, first install (Korean, output to a file)" 0 \
        "$(run_cmd 'C:\quillon-check\redirected.bat' "$com" --silent --lang Korean --dataset "\"$dataset\"")"
    grep -qF "$done_text" "$(unix_path "$out")" \
        || fail "the output file does not hold the Korean final message in UTF-8"
    echo "  The redirected output is UTF-8: \"$done_text\""
    same_tree "First install"

    expect_status "Linux build, again" 1 "$(linux_install --save-status yes)"
    expect_status "quillon.com, again, status files in C:\\" 1 \
        "$(run_cmd 'C:\quillon-check\redirected.bat' "$com" --silent --dataset "\"$dataset\"" --save-status yes)"
    same_status_files

    expect_status "quillon.exe by start /wait, replacing everything" 1 \
        "$(run_cmd 'C:\quillon-check\window.bat' "$exe" --silent --dataset "\"$dataset\"" --overwrite all)"
    same_tree "Replacing everything"
    [[ -f $c_drive/ProgramData/Quillon/quillon-run.lock ]] \
        || fail "the runs took no lock in C:\ProgramData\Quillon"
    echo "  The runs took their lock in C:\ProgramData\Quillon"

    local protected="${vestra^^}\\color"
    expect_status "quillon.com, a protected folder spelt in other case" 3 \
        "$(run_cmd 'C:\quillon-check\redirected.bat' "$com" --silent --dataset "\"$dataset\"" --dest "\"STY=$protected\"")"
    expect_status "quillon.com, no data set" 3 \
        "$(run_cmd 'C:\quillon-check\redirected.bat' "$com" --silent --dataset 'C:\nowhere')"

    local text
    text=$(console_text "$com" --silent --lang Korean --dataset "\"$dataset\"")
    [[ $text == *"$done_word"* && $text == *"exit=1"* ]] \
        || fail "the Korean lines did not reach the console as written: $text"
    echo "  In a console the Korean lines read as written (\"$done_word\"), and %ERRORLEVEL% is 1"

    part "Unattended installs under Wine: paths in Linux form"
    linux_form_paths
    part "Unattended installs under Wine: check, repair and report"
    check_and_repair
    part "Unattended installs under Wine: names Windows cannot hold"
    refused_names
    part "Unattended installs under Wine: a delivery"
    delivery
    part "Unattended installs under Wine: read-only files, two runs, a kill and the recovery"
    read_only_replaced
    killed_and_recovered
    not_shown
}
