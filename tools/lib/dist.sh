# shellcheck shell=bash
# Sourced by tools/package and the stages that test its packages: where the
# packages are and what they hold.
#   dist_version        the version in CMakeLists.txt's project(), which the
#                       packages' names carry
#   dist_deb, dist_zip  the packages, relative to the clone's top folder
#   dist_source         where tools/package notes what dist/ was built from:
#                       "COMMIT SOURCE_DATE_EPOCH", when the tree held nothing
#                       but the commit; no file otherwise
#   dist_deb_paths DEB  the paths DEB installs, one a line, absolute, folders
#                       without their closing slash
dist_version=$(sed -n 's/^project(Quorvane VERSION \([0-9.]*\).*/\1/p' \
  "$(dirname "${BASH_SOURCE[0]}")/../../CMakeLists.txt")
# shellcheck disable=SC2034 # read by the scripts that source this file
dist_deb=dist/quorvane_${dist_version}_amd64.deb
# shellcheck disable=SC2034
dist_zip=dist/quorvane-${dist_version}-win64.zip
# shellcheck disable=SC2034
dist_source=build/package-source

dist_deb_paths() {
  dpkg-deb --fsys-tarfile "$1" | tar -t | sed 's|^\./|/|; s|/$||; /^$/d'
}
