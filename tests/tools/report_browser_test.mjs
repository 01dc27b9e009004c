// SPDX-License-Identifier: MIT
// The printable report as a browser shows and prints it: Debian's chromium, headless,
// driven through playwright-core. Checks that each page loads without error and runs no
// script, prints as exactly one landscape sheet per marker on A4 and on Letter, holds
// nothing wider than its sheet, carries the figures of `inspect --json`, and shows names
// that carry markup as text, in the page as in its picture.
//
// usage: node tests/tools/report_browser_test.mjs CLI CHROMIUM NODE_MODULES
import { execFileSync, spawnSync } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const [cli, chromiumPath, nodeModules] = process.argv.slice(2).map((p) => resolve(p));
const { chromium } = createRequire(join(nodeModules, "x"))("playwright-core");
const root = resolve(dirname(fileURLToPath(import.meta.url)), "..", "..");
const example = join(root, "examples", "jacket", "spring jacket.txt");

const HEADERS = "VART:VEXT:VGFN\nVMDL:VNUM:VNMD:VTAN\nVVET:VNUM:VTAI:VTBA:VCTA\nIBA:IART:INAM:VNUM:IFLG\n" +
  "IGEO:INUM:IGRS:IXOR:IYOR:IXDI:IYDI:IGRF\nLEZ:LLEZ\n";
const SHIRT = "MSIZ:SNAM\n1:S\n1:M\nMPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n2:SHIRT:1:sh-fr:Front:0:1:1\n" +
  "2:SHIRT:2:sh-bk:Back:0:1:1\n";
// Article 2 (kind MDL) keeps its raw size code and is lost twice; article 3's model file is missing.
const LOST = HEADERS + "1:VET:SHIRT\n1:MDL:SHIRT\n1:VET:PANTS\n2:1:SHIRT:0\n2:2:SHIRT:1\n2:3:PANTS:0\n" +
  "3:1:1:SHIRT:1\n3:2:1:SHIRT:1\n3:3:2:PANTS:1\n4:sh-fr:1:1:0\n4:sh-bk:2:2:0\n4:pa-fr:1:3:0\n" +
  "5:1:0:0:0:4000:5000:0\n5:2:0:4000:0:3000:5000:0\n5:3:0:7000:0:3000:5000:0\n5:2:0:10000:0:3000:5000:0\n6:10000\n";
const MARKUP_SIZE = '<script>alert(1)</script>&"';
const EVIL = `MSIZ:SNAM\n1:${MARKUP_SIZE}\nMPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n2:EVIL:1:ev-fr:Front:0:1:1\n`;
const MARKUP = HEADERS + "1:VET:EVIL\n2:1:EVIL:0\n3:1:0:EVIL:1\n4:ev-fr:1:1:0\n5:1:0:0:0:4000:5000:0\n6:10000\n";
// 30 sizes, more than a sheet lists: one article and one placed piece of each.
const SIZE_ROWS = 22;  // the rows of a sheet's table of sizes
const MANY_SIZES = Array.from({ length: 30 }, (_, i) => `S${String(i + 1).padStart(2, "0")}`);
const MANY_MODEL = `MSIZ:SNAM\n${MANY_SIZES.map((s) => `1:${s}\n`).join("")}` +
  "MPCE:VGFN:PNUM:IART:PNAM:PROT:PXSC:PYSC\n2:MANY:1:mn-fr:Front:0:1:1\n";
const MANY = HEADERS + MANY_SIZES.map(() => "1:VET:MANY\n").join("") + "2:1:MANY:0\n" +
  MANY_SIZES.map((_, i) => `3:${i + 1}:${i}:MANY:1\n`).join("") +
  MANY_SIZES.map((_, i) => `4:mn-fr:1:${i + 1}:0\n`).join("") +
  MANY_SIZES.map((_, i) => `5:${i + 1}:0:${i * 1000}:0:1000:1000:0\n`).join("") + "6:10000\n";
// Printable area of each paper in landscape, in mm: the page less the report's 10 mm margins.
const PAPERS = { a4: { width: 277, height: 190, points: [842, 595] }, letter: { width: 259.4, height: 195.9, points: [792, 612] } };

let passed = 0;
let failed = 0;
function check(name, ok, detail = "") {
  ok ? passed++ : failed++;
  console.log((ok ? "ok    " : "FAIL  ") + name + (ok ? "" : ": " + JSON.stringify(detail)));
}

function pdfPages(pdf) {
  const info = execFileSync("pdfinfo", ["-"], { input: pdf }).toString();
  const size = info.match(/Page size:\s+([\d.]+) x ([\d.]+)/);
  return { pages: Number(info.match(/Pages:\s+(\d+)/)[1]), width: Number(size[1]), height: Number(size[2]) };
}

// What a browser finds wrong on the report's pages: the sheets, what sticks out of them,
// and the figures each shows.
function readSheets() {
  const mm = (px) => (px * 25.4) / 96;
  return [...document.querySelectorAll("section.sheet")].map((sheet) => {
    const box = sheet.getBoundingClientRect();
    const outside = [...sheet.querySelectorAll("*")].filter((e) => {
      const r = e.getBoundingClientRect();
      return r.width > 0 && (r.left < box.left - 0.5 || r.right > box.right + 0.5 || r.bottom > box.bottom + 0.5);
    }).map((e) => e.tagName + "." + e.className + ": " + e.textContent.slice(0, 40));
    const figures = Object.fromEntries([...sheet.querySelectorAll("[data-figure]")].map((e) => [e.dataset.figure, e.textContent]));
    const sizes = [...sheet.querySelectorAll("table.sizes tbody tr")].map((tr) => [...tr.cells].map((c) => c.textContent));
    const diagnostics = [...sheet.querySelectorAll(".diagnostics li[data-code]")].map((li) => [li.dataset.code, Number(li.dataset.count), li.textContent]);
    const img = sheet.querySelector(".picture img");
    const svg = img ? atob(img.src.slice(img.src.indexOf(",") + 1)) : "";
    const svgDocument = new DOMParser().parseFromString(new TextDecoder().decode(Uint8Array.from(svg, (c) => c.charCodeAt(0))), "image/svg+xml");
    return {
      status: sheet.dataset.status, widthMm: mm(box.width), heightMm: mm(box.height), outside, figures, sizes, diagnostics,
      styles: sheet.querySelector(".styles")?.textContent, title: sheet.querySelector("h1").textContent,
      running: sheet.querySelector(".running")?.textContent,
      rows: [...sheet.querySelectorAll("table.markers tbody tr[data-status]")].map((tr) => tr.dataset.status),
      svgTexts: [...svgDocument.querySelectorAll("text, title")].map((t) => t.textContent),
      svgBroken: svgDocument.querySelector("parsererror") !== null, svgScripts: svgDocument.querySelectorAll("script").length,
    };
  });
}

// The page's figures against the JSON: each as printed, to its last printed digit.
function figuresAgree(sheet, marker) {
  const json = {
    fabric_width_mm: marker.fabric_width.mm, used_length_mm: marker.used_length_mm, used_width_mm: marker.used_width_mm,
    box_efficiency: marker.box_efficiency * 100, placements: marker.placements, lost_placements: marker.lost_placements,
    garments: marker.garments, length_per_garment_mm: marker.length_per_garment?.mm,
  };
  const wrong = [];
  for (const [key, value] of Object.entries(json)) {
    const text = sheet.figures[key];
    const decimals = (text?.split(".")[1] ?? "").length;
    const agrees = value === undefined ? text === "-" : Math.abs(Number(text) - value) <= 0.5 * 10 ** -decimals + 1e-9;
    if (!agrees) wrong.push([key, text, value]);
  }
  let sizes = marker.sizes.map((s) => [s.size, String(s.placed), String(s.garments), s.host_model ?? "-"]);
  if (sizes.length > SIZE_ROWS) {  // the last row of the sheet's table tells the rest
    sizes = [...sizes.slice(0, SIZE_ROWS - 1), [`and ${sizes.length - SIZE_ROWS + 1} more sizes: inspect lists them all`]];
  }
  if (JSON.stringify(sheet.sizes) !== JSON.stringify(sizes)) wrong.push(["sizes", sheet.sizes, sizes]);
  if (sheet.styles !== (marker.styles.join(", ") || "-")) wrong.push(["styles", sheet.styles, marker.styles]);
  const counted = sheet.diagnostics.reduce((n, d) => n + d[1], 0);
  if (counted !== marker.diagnostics.length) wrong.push(["diagnostics", counted, marker.diagnostics.length]);
  return wrong;
}

// report --order of three markers: four sheets, the first the summary with the plan of plan --json.
async function checkPlannedSeason(browser, folder) {
  const order = join(folder, "order.csv");
  writeFileSync(order, "size,quantity\n38,12\n42,7\nS05,4\n");
  const markers = [example, join(folder, "many.txt"), join(folder, "markup.txt")];
  const options = ["--order", order, "--max-plies", "20", "--end-allowance", "15"];
  const plan = JSON.parse(spawnSync(cli, ["plan", ...options, "--json", ...markers]).stdout);
  const html = join(folder, "planned.html");
  spawnSync(cli, ["report", ...options, "-o", html, ...markers]);
  const page = await browser.newPage();
  await page.goto("file://" + html);
  await page.emulateMedia({ media: "print" });
  const shown = await page.evaluate(() => {
    const summary = document.querySelector("section.summary");
    const figures = (key) => [...summary.querySelectorAll(`table.plan-markers [data-figure=${key}]`)].map((e) => Number(e.textContent));
    return { plies: figures("plies"), total: figures("total_fabric_mm")[0], first: document.querySelector("section.sheet") === summary };
  });
  const printed = pdfPages(await page.pdf({ preferCSSPageSize: true, printBackground: true }));
  check("report --order of three markers prints four sheets, the first the summary with the plan of plan --json",
    printed.pages === 4 && shown.first && shown.plies.join() === plan.markers.map((m) => m.plies).join() &&
    Math.abs(shown.total - plan.total_fabric_mm) <= 0.05, [printed.pages, shown, plan.markers, plan.total_fabric_mm]);
  await page.close();
}

async function main() {
  const folder = mkdtempSync(join(tmpdir(), "dorvan-report-"));
  for (const [name, text] of [["SHIRT.mdl", SHIRT], ["lost.txt", LOST], ["EVIL.mdl", EVIL], ["markup.txt", MARKUP],
    ["MANY.mdl", MANY_MODEL], ["many.txt", MANY]]) {
    writeFileSync(join(folder, name), text);
  }
  const markers = [example, join(folder, "lost.txt"), join(folder, "markup.txt"), join(folder, "absent.txt"),
    join(folder, "many.txt")];
  const inspected = JSON.parse(spawnSync(cli, ["inspect", "--json", "--codepage", "utf-8", ...markers]).stdout).markers;
  // --no-sandbox: the tests run as root; the rest keeps the browser off the network.
  const browser = await chromium.launch({
    executablePath: chromiumPath,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync"],
  }).catch((error) => {
    console.log("FAIL  the browser starts: " + error.message.split("\n")[0]);
    rmSync(folder, { recursive: true, force: true });
    process.exit(1);
  });
  try {
    for (const [paper, area] of Object.entries(PAPERS)) {
      const html = join(folder, `report-${paper}.html`);
      spawnSync(cli, ["report", "--codepage", "utf-8", "--paper", paper, "-o", html, ...markers]);
      const page = await browser.newPage();
      const problems = [];
      page.on("console", (m) => m.type() === "error" && problems.push("console: " + m.text()));
      page.on("pageerror", (e) => problems.push("error: " + e.message));
      page.on("dialog", (d) => { problems.push("dialog: " + d.message()); d.dismiss(); });
      page.on("request", (r) => !/^(file|data):/.test(r.url()) && problems.push("request: " + r.url()));
      await page.goto("file://" + html);
      await page.emulateMedia({ media: "print" });
      const all = await page.evaluate(readSheets);
      const sheets = all.slice(1);  // the first page sums the season
      const scripts = await page.evaluate(() => document.querySelectorAll("script").length);
      check(`${paper}: the page loads with no console error, request or dialog, and holds no script`,
        problems.length === 0 && scripts === 0, problems);
      const printed = pdfPages(await page.pdf({ preferCSSPageSize: true, printBackground: true }));
      const [long, short] = area.points;
      check(`${paper}: printing gives the summary and one landscape sheet per marker`, printed.pages === markers.length + 1 &&
        Math.abs(printed.width - long) < 2 && Math.abs(printed.height - short) < 2, printed);
      console.log(`      ${paper}: ${printed.pages} pages of ${printed.width} x ${printed.height} pt for ${markers.length} markers`);
      check(`${paper}: every sheet fits the printable area and nothing sticks out of it`, all.every((s) =>
        s.widthMm <= area.width && s.heightMm <= area.height && s.outside.length === 0),
        all.map((s) => [s.widthMm, s.heightMm, s.outside.slice(0, 3)]));
      check(`${paper}: every page carries the title and "page n of N"; the first sums each marker with its status`,
        all.every((s, i) => s.running === `jacketpage ${i + 1} of ${markers.length + 1}`) &&
        all[0].status === "summary" && all[0].rows.join() === inspected.map((m) => m.status).join(),
        all.map((s) => [s.running, s.rows]));
      const disagreements = sheets.map((s, i) => (s.status === "read" ? figuresAgree(s, inspected[i]) : []));
      check(`${paper}: the figures on each page are those of inspect --json`, disagreements.every((w) => w.length === 0),
        disagreements);
      check(`${paper}: each marker's page has its status; the unreadable one says why`,
        sheets.map((s) => s.status).join() === inspected.map((m) => m.status).join() &&
        sheets[3].diagnostics.some((d) => d[0] === "cannot-open"), sheets.map((s) => s.status));
      const lost = sheets[1].diagnostics;
      check(`${paper}: the lost placements are named by piece and size, the missing model by the path tried`,
        lost.some((d) => d[0] === "placement-lost" && d[1] === 2 && d[2].includes('piece "BACK" (size "1")')) &&
        lost.some((d) => d[0] === "model-missing" && d[2].includes(join(folder, "PANTS.mdl"))), lost);
      const evil = sheets[2];
      check(`${paper}: names that carry markup are text, in the page as in its picture`,
        evil.sizes[0][0] === MARKUP_SIZE && !evil.svgBroken && evil.svgScripts === 0 &&
        evil.svgTexts.some((t) => t.includes(MARKUP_SIZE)),
        [evil.sizes, evil.svgTexts]);
      await page.close();
    }
    await checkPlannedSeason(browser, folder);
  } finally {
    await browser.close();
    rmSync(folder, { recursive: true, force: true });
  }
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 ? 0 : 1);
}

main();
