#!/usr/bin/env bash
# Runs the demo's three steps; called by demo.sh with "interactive" or "auto".
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-auto}
racine=$PWD
port=$(sed -n 's/^PORT_SANDBOX:STRING=//p' build/CMakeCache.txt)
url="http://127.0.0.1:$port"
programme=$racine/build/bin/configurateur-quelt
demo=$(mktemp -d /tmp/quelt-demo.XXXXXX)
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$demo/run}
mkdir -p -m 700 "$XDG_RUNTIME_DIR"

build/bin/quelt-sandbox --port "$port" --log "$demo/sandbox.log" >"$demo/sandbox.out" 2>&1 &
sandbox=$!
trap 'kill $sandbox 2>/dev/null; wait $sandbox 2>/dev/null || true' EXIT
for _ in $(seq 100); do grep -q '^http://' "$demo/sandbox.out" && break; sleep 0.1; done
grep -q '^http://' "$demo/sandbox.out" || { cat "$demo/sandbox.out"; echo "the sandbox did not start (port $port busy?)"; exit 1; }
echo "Sandbox platform and gateway: $url"

ini() { local f=$1; shift; printf '%s\r\n' "$@" >"$f"; }
montrer() { echo "--- $1"; iconv -f ISO-8859-1 -t UTF-8 "$1" | tr -d '\r'; echo; }

echo
echo "== Quotation check of record 812 (Mode=verification)"
ini "$demo/verification.ini" "[General]" "Version=1" "Configurateur=trun" "Mode=verification" "[RecordId]" "Valeur=812"
"$programme" "$demo/verification.xml" "$demo/verification.ini"
montrer "$demo/verification.xml"

echo "== Order of record 4711 (Mode=commande)"
ini "$demo/commande.ini" "[General]" "Version=1" "Configurateur=olka" "Mode=commande" "[RecordId]" "Valeur=4711" \
  "[Commande]" "Numero=2021-042" "Reference=Chantier Nord"
"$programme" "$demo/commande.xml" "$demo/commande.ini"
montrer "$demo/commande.xml"

echo "== Quote retrieval (Mode=chiffrage)"
ini "$demo/chiffrage.ini" "[General]" "Version=1" "Configurateur=pavesc" "Mode=chiffrage" \
  "[Utilisateur]" "Identifiant=demo@quelt.example" "MotDePasse=d&mo #pass=+"
if [ "$mode" = interactive ]; then
  echo "Your browser opens the sandbox's pricing page: price the product, confirm,"
  echo "then press \"Récupérer le devis\" in the program's window."
  "$programme" "$demo/chiffrage.xml" "$demo/chiffrage.ini"
else
  # A scripted browser, first on PATH, prices a PVC window over HTTP.
  mkdir -p "$demo/bin"
  cat >"$demo/bin/xdg-open" <<NAVIGATEUR
#!/usr/bin/env bash
echo "Browser (scripted): opens \$1"
jeton=\$(printf '%s' "\$1" | sed -n 's/.*[?&]jeton=\([^&]*\).*/\1/p')
curl -s --max-time 5 "\$1" >/dev/null
echo "Browser (scripted): prices 2 x PVC window 1200 x 1350 mm, tilt-and-turn, in the living room"
curl -s --max-time 5 -o /dev/null --data "jeton=\$jeton&produit=fenetre-pvc&largeur=1200&hauteur=1350&quantite=2&repere=Salon&options=oscillo" "$url/chiffrage"
touch "$demo/chiffre"
NAVIGATEUR
  chmod +x "$demo/bin/xdg-open"
  PATH="$demo/bin:$PATH" "$programme" "$demo/chiffrage.xml" "$demo/chiffrage.ini" &
  pid=$!
  for _ in $(seq 150); do [ -e "$demo/chiffre" ] && break; sleep 0.1; done
  fenetre=$(xdotool search --onlyvisible --name 'Chiffrage$' | head -n 1)
  echo "User (scripted): presses Enter on \"Récupérer le devis\""
  xdotool windowfocus --sync "$fenetre"; sleep 0.3; xdotool key Return
  wait "$pid"
fi
montrer "$demo/chiffrage.xml"
for image in "$demo"/*.bmp; do
  [ -e "$image" ] && echo "Picture: $image ($(file -b "$image" 2>/dev/null || wc -c <"$image"))"
done
echo
echo "Files kept in $demo"
