# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the scripts: installs the Debian packages of scripts/packages.txt
# that are missing (as root), or says how to install them (otherwise).
ensure_packages() {
    local list="$1" missing=() pkg
    while read -r pkg; do
        pkg="${pkg%%#*}"; pkg="${pkg//[[:space:]]/}"
        [ -n "$pkg" ] || continue
        if [ "$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null)" != "install ok installed" ]; then
            missing+=("$pkg")
        fi
    done < "$list"
    [ ${#missing[@]} -eq 0 ] && return 0

    if [ "$(id -u)" -ne 0 ]; then
        echo "These packages are missing: ${missing[*]}" >&2
        echo "Install them as root, then run this script again:" >&2
        echo "    sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
}
