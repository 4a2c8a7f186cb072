# shellcheck shell=bash
# Sourced by tools/setup.sh and tools/dev-tools.sh: install_missing_packages installs those of the named
# Debian packages that are not installed yet (as root, or through sudo) and does nothing when all are.
install_missing_packages() {
    local missing=() p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done

    if [ "${#missing[@]}" -gt 0 ]; then
        local sudo_cmd=()
        [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
        export DEBIAN_FRONTEND=noninteractive
        "${sudo_cmd[@]}" apt-get update -qq
        "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}
