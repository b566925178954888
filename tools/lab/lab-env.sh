# Sourced by the lab scripts: the lab's name, its namespaces, state and Wine prefix.
# ZV_LAB_NAME names the lab; by default each cross build tree (ZV_BUILD_DIR) gets
# its own, so test runs of different trees never share or tear down one lab.
lab_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
lab_top=$(cd "$lab_tools/../.." && pwd)
. "$lab_top/tests/lab/lab-addresses.env"

if [ -n "${ZV_LAB_NAME:-}" ]; then
  LAB=$ZV_LAB_NAME
elif [ -n "${ZV_BUILD_DIR:-}" ]; then
  LAB=zvlab-$(readlink -f "$ZV_BUILD_DIR" | cksum | cut -c1-6)
  # The second runtime gets a lab of its own, served by its own wineserver.
  [ "${ZV_RUNTIME:-wine8}" = wine8 ] || LAB=$LAB-${ZV_RUNTIME#wine}
else
  LAB=zvlab
fi
case $LAB in
  zvlab*) ;;
  *) echo "lab: the lab name must start with zvlab: $LAB" >&2; exit 2 ;;
esac

NS_CLIENT=$LAB-client
NS_ROUTER=$LAB-router
NS_RESPONDER=$LAB-resp
NS_ECHO=$LAB-echo
NS_LOOP=$LAB-loop
LAB_NAMESPACES="$NS_CLIENT $NS_ROUTER $NS_RESPONDER $NS_ECHO $NS_LOOP"
LAB_STATE=/run/zvlab/$LAB
LAB_RESPONDER_LOG=$LAB_STATE/responder.log
# Keyed by the lab's name: two labs of one tree each serve their own copy, so
# taking one down cannot stop the other's wineserver.
if [ -n "${ZV_BUILD_DIR:-}" ]; then
  LAB_WINE_STATE=$(readlink -f "$ZV_BUILD_DIR")
  [ "${ZV_RUNTIME:-wine8}" = wine8 ] || LAB_WINE_STATE=$LAB_WINE_STATE/$ZV_RUNTIME
  LAB_WINEPREFIX=$LAB_WINE_STATE/lab-wineprefix-$LAB
fi
