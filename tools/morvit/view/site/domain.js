// The page of one domain: its headers, sections and elements as a collapsible tree of fields,
// drawn lazily (only the rows in view exist, their data loaded in chunks), each field with its
// characters and the values its layout gives it; a search over labels, values, keys, names and
// offsets, "go to offset", and a hex pane that marks the bytes of the field under the pointer.
"use strict";

const kRowHeight = 20;
const kMaxSpacer = 8000000;  // browsers cap an element's height; taller lists scroll scaled
const kHexBefore = 64;
const kHexBytes = 256;

class DomainView {
  constructor(id, outline) {
    this.id = id;
    this.outline = outline;
    this.nodes = outline.nodes;
    this.collapsed = new Uint8Array(this.nodes.row.length);
    // A large domain opens with its elements and table rows folded: its headers and sections
    // show at once, and the list stays as long as there are elements.
    if (outline.collapse) this.nodes.kind.forEach((kind, i) => { this.collapsed[i] = kind === "element" || kind === "row" ? 1 : 0; });
    this.chunks = new Map();
    this.tree = document.getElementById("tree");
    this.spacer = document.getElementById("spacer");
    this.pool = [];
    this.pinned = -1;
    this.layout();
    this.tree.addEventListener("scroll", () => this.schedule());
    window.addEventListener("resize", () => this.schedule());
    this.tree.addEventListener("click", (event) => this.click(event));
    this.tree.addEventListener("mouseover", (event) => this.point(event));
  }

  // The visible rows as segments [first, end) of the row numbers, with their running sums, so
  // that a scroll position maps to a row by a binary search whatever is collapsed.
  layout() {
    const { row, end } = this.nodes;
    const starts = [], ends = [];
    let pos = 0, skipUntil = -1;
    for (let i = 0; i < row.length; i++) {
      if (row[i] < skipUntil || !this.collapsed[i]) continue;
      starts.push(pos); ends.push(row[i] + 1);
      pos = end[i]; skipUntil = end[i];
    }
    starts.push(pos); ends.push(this.outline.rows);
    this.segStart = Int32Array.from(starts);
    this.segSum = new Float64Array(starts.length + 1);
    for (let i = 0; i < starts.length; i++) this.segSum[i + 1] = this.segSum[i] + Math.max(0, ends[i] - starts[i]);
    this.visible = this.segSum[starts.length];
    this.spacer.style.height = Math.min(this.visible * kRowHeight, kMaxSpacer) + "px";
    this.schedule();
  }

  rowAt(index) {
    let lo = 0, hi = this.segStart.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (this.segSum[mid] <= index) lo = mid; else hi = mid - 1;
    }
    return this.segStart[lo] + (index - this.segSum[lo]);
  }

  schedule() {
    if (this.frame) return;
    this.frame = requestAnimationFrame(() => { this.frame = 0; this.draw(); });
  }

  firstVisible() {
    const full = this.visible * kRowHeight;
    if (full <= kMaxSpacer) return Math.floor(this.tree.scrollTop / kRowHeight);
    const room = Math.max(1, kMaxSpacer - this.tree.clientHeight);
    return Math.floor((this.tree.scrollTop / room) * Math.max(0, this.visible - this.tree.clientHeight / kRowHeight));
  }

  draw() {
    const first = Math.max(0, Math.min(this.firstVisible(), this.visible - 1));
    const count = Math.min(Math.ceil(this.tree.clientHeight / kRowHeight) + 2, this.visible - first);
    while (this.pool.length < count) {
      const div = document.createElement("div");
      this.spacer.appendChild(div);
      this.pool.push(div);
    }
    const top = this.tree.scrollTop - (this.tree.scrollTop % kRowHeight);
    const scaled = this.visible * kRowHeight > kMaxSpacer;
    for (let i = 0; i < this.pool.length; i++) {
      const div = this.pool[i];
      if (i >= count) { div.hidden = true; continue; }
      div.hidden = false;
      div.style.top = (scaled ? top + i * kRowHeight : (first + i) * kRowHeight) + "px";
      this.fill(div, this.rowAt(first + i));
    }
  }

  chunk(row) {
    const index = Math.floor(row / this.outline.chunkRows);
    const chunk = this.chunks.get(index);
    if (chunk) return chunk;
    if (!this.chunks.has("loading" + index)) {
      this.chunks.set("loading" + index, true);
      MorvitSite.load("data/" + this.id + "/c" + index + ".js").then((rows) => {
        this.chunks.set(index, this.expand(rows));
        this.schedule();
      }, (error) => MorvitSite.fail(error.message));
    }
    return null;
  }

  // Short rows (a field's hex alone) as whole ones: they follow the field before them.
  expand(rows) {
    const blank = this.outline.labels.indexOf("");
    let last = null;
    return rows.map((data) => {
      if (typeof data === "string") {
        data = [last[0] + last[1], data.length / 2, data, String(parseInt(data, 16)), blank, last[5]];
      } else if (data.length === 2) {
        data = [last[0] + last[1], data[0].length / 2, data[0], String(parseInt(data[0], 16)), blank, last[5], data[1]];
      }
      if (Array.isArray(data) && data.length >= 6 && typeof data[0] === "number") last = data;
      return data;
    });
  }

  // The chunk of rows `index`, loaded once.
  loadChunk(index) {
    if (this.chunks.has(index)) return Promise.resolve(this.chunks.get(index));
    return MorvitSite.load("data/" + this.id + "/c" + index + ".js").then((rows) => {
      if (!this.chunks.has(index)) this.chunks.set(index, this.expand(rows));
      return this.chunks.get(index);
    });
  }

  // The search index, loaded once and apart from the rows (a few files for the whole domain):
  // per chunk of rows its labels (a character per row, the label's number above 0x100), the
  // texts of its rows' values in lower case, a line per row, and the range of its offsets.
  searchIndex() {
    if (!this.indexLoaded) {
      const loads = [];
      for (let i = 0; i < (this.outline.searchFiles || 0); i++) loads.push(MorvitSite.load("data/" + this.id + "/s" + i + ".js"));
      this.indexLoaded = Promise.all(loads).then((files) => files.flat().map(([labels, text, low, high]) =>
        ({ labels, text: text.toLowerCase(), low, high, starts: null })));
      this.titles = this.nodes.title.map((title) => title.toLowerCase());
    }
    return this.indexLoaded;
  }

  // Where each row's line of a chunk's texts starts, found once.
  static lineStarts(piece) {
    if (!piece.starts) {
      const starts = [0];
      for (let at = piece.text.indexOf("\n"); at >= 0; at = piece.text.indexOf("\n", at + 1)) starts.push(at + 1);
      piece.starts = Int32Array.from(starts);
    }
    return piece.starts;
  }

  // All rows that hold `query`, in order: by their label, their values as they read ("value A
  // = 42"), a structure's title (an entry's key and name); a whole number also finds the field
  // at that offset.
  async search(query) {
    const needle = query.trim().toLowerCase();
    if (!needle) return [];
    const index = await this.searchIndex();
    const started = performance.now();
    const hits = [];
    const labelHit = this.outline.labels.map((label) => label.toLowerCase().includes(needle));
    this.titles.forEach((title, node) => { if (title.includes(needle)) hits.push(this.nodes.row[node]); });
    index.forEach((piece, k) => {
      const base = k * this.outline.chunkRows;
      for (let r = 0; r < piece.labels.length; r++) if (labelHit[piece.labels.charCodeAt(r) - 0x100]) hits.push(base + r);
      let at = piece.text.indexOf(needle);
      if (at < 0) return;
      const starts = DomainView.lineStarts(piece);
      while (at >= 0) {
        let lo = 0, hi = starts.length - 1;
        while (lo < hi) {
          const mid = (lo + hi + 1) >> 1;
          if (starts[mid] <= at) lo = mid; else hi = mid - 1;
        }
        hits.push(base + lo);
        at = lo + 1 < starts.length ? piece.text.indexOf(needle, starts[lo + 1]) : -1;
      }
    });
    if (/^[0-9]+$/.test(needle)) {
      const row = await this.fieldAt(Number(needle));
      if (row >= 0) hits.push(row);
    }
    hits.sort((x, y) => x - y);
    this.searchMs = performance.now() - started;
    return hits.filter((row, i) => i === 0 || hits[i - 1] !== row);
  }

  // The first field row whose bytes hold `offset`, or -1: only the chunks whose offsets reach
  // it are loaded.
  async fieldAt(offset) {
    const index = await this.searchIndex();
    for (let k = 0; k < index.length; k++) {
      if (index[k].low < 0 || offset < index[k].low || offset >= index[k].high) continue;
      const rows = await this.loadChunk(k);
      for (let i = 0; i < rows.length; i++) {
        const data = rows[i];
        if (data.length >= 6 && typeof data[0] === "number" && offset >= data[0] && offset < data[0] + Math.max(1, data[1])) return k * this.outline.chunkRows + i;
      }
    }
    return -1;
  }

  // Shows `row`: the structures around it unfolded, scrolled into the middle, pinned.
  async reveal(row) {
    await this.loadChunk(Math.floor(row / this.outline.chunkRows));
    const { row: starts, end } = this.nodes;
    let changed = false;
    for (let i = 0; i < starts.length; i++) {
      if (starts[i] < row && row < end[i] && this.collapsed[i]) { this.collapsed[i] = 0; changed = true; }
    }
    if (changed) this.layout();
    let lo = 0, hi = this.segStart.length - 1;
    while (lo < hi) {
      const mid = (lo + hi + 1) >> 1;
      if (this.segStart[mid] <= row) lo = mid; else hi = mid - 1;
    }
    const index = this.segSum[lo] + (row - this.segStart[lo]);
    const full = this.visible * kRowHeight;
    const wanted = index * kRowHeight - this.tree.clientHeight / 2;
    this.tree.scrollTop = full <= kMaxSpacer ? Math.max(0, wanted)
      : (index / Math.max(1, this.visible - this.tree.clientHeight / kRowHeight)) * Math.max(1, kMaxSpacer - this.tree.clientHeight);
    this.pinned = row;
    const data = this.rowData(row);
    if (data && data.length >= 6 && typeof data[0] === "number") this.show(row);
    this.draw();
  }

  rowData(row) {
    const chunk = this.chunk(row);
    return chunk ? chunk[row % this.outline.chunkRows] : null;
  }

  fill(div, row) {
    div.dataset.row = row;
    const data = this.rowData(row);
    const el = MorvitSite.el;
    if (!data) {
      div.className = "row";
      div.replaceChildren("…");
      return;
    }
    if (data.length === 1) {
      const node = data[0];
      div.className = "row node" + (row === this.pinned ? " pinned" : "") + (this.hitSet && this.hitSet.has(row) ? " hit" : "");
      div.dataset.node = node;
      div.style.paddingLeft = 6 + this.nodes.depth[node] * 16 + "px";
      div.replaceChildren(el("span", { class: "tw" }, this.collapsed[node] ? "▸" : "▾"),
        this.nodes.title[node]);
      return;
    }
    delete div.dataset.node;
    if (data[0] === "stop") {
      div.className = "row stop";
      div.style.paddingLeft = 6 + data[3] * 16 + "px";
      div.replaceChildren("listing stops" + (data[1] >= 0 ? " at offset " + data[1] : "") + ": " + data[2]);
      return;
    }
    const mark = (row === this.pinned ? " pinned" : "") + (this.hitSet && this.hitSet.has(row) ? " hit" : "");
    if (data[0] === "=") {
      div.className = "row field" + mark;
      div.style.paddingLeft = 6 + data[1] * 16 + "px";
      div.replaceChildren(el("span", { class: "dec" }, this.decoded(data[2])));
      return;
    }
    const [offset, width, hex, value, label, depth, values] = data;
    div.className = "row field" + mark;
    div.style.paddingLeft = 6 + depth * 16 + "px";
    div.replaceChildren(el("span", { class: "off" }, offset), el("span", { class: "hx" }, hex),
      el("span", { class: "ch" }, Characters(hex)), el("span", { class: "val" }, value),
      el("span", { class: "lbl" }, this.outline.labels[label]),
      ...(values ? [el("span", { class: "dec" }, this.decoded(values))] : []));
  }

  // Values as a person reads them: "value A = 42", "name = \"PUMP_01\"".
  decoded(values) {
    return values.map(([label, kind, text]) => (this.outline.labels[label] || kind) + " = " +
      (kind === "text" || kind === "name" ? JSON.stringify(text) : text)).join(", ");
  }

  click(event) {
    const div = event.target.closest(".row");
    if (!div) return;
    if (div.dataset.node !== undefined) {
      const node = Number(div.dataset.node);
      this.collapsed[node] ^= 1;
      this.layout();
    } else if (div.classList.contains("field")) {
      this.pinned = Number(div.dataset.row);
      this.show(this.pinned);
      this.schedule();
    }
  }

  point(event) {
    const div = event.target.closest(".row.field");
    if (div) this.show(Number(div.dataset.row));
  }

  setAll(collapsed) {
    this.collapsed.fill(collapsed ? 1 : 0);
    if (collapsed) this.nodes.depth.forEach((depth, i) => { if (depth === 0) this.collapsed[i] = 0; });
    this.layout();
  }

  // The bytes around a field, taken from the fields near it in the loaded rows (the listing
  // covers the domain field by field); bytes no field covers show as dots.
  show(row) {
    const data = this.rowData(row);
    if (!data || data.length < 6) return;
    const [offset, width, hex, value, label, , values] = data;
    const where = this.outline.compressed ? "offset in the expanded domain " : "file offset ";
    document.getElementById("field").replaceChildren(
      MorvitSite.el("div", {}, where + offset + ", " + width + " byte" + (width === 1 ? "" : "s")),
      MorvitSite.el("div", {}, "hex " + hex + ", characters " + Characters(hex) + ", value " + value),
      MorvitSite.el("div", {}, "label " + (this.outline.labels[label] || "(none)")),
      ...(values ? [MorvitSite.el("div", { class: "dec" }, this.decoded(values))] : []));
    // Bytes past the place where a cut file ends are missing, whatever the listing shows.
    const missingFrom = this.outline.stopAt >= 0 ? this.outline.stopAt : Infinity;
    document.getElementById("bytesTitle").textContent = this.outline.compressed
      ? "Bytes of the expanded domain (the file holds them compressed)"
      : "Bytes of the file" + (missingFrom < Infinity ? " (it ends at offset " + missingFrom + ")" : "");
    const start = Math.max(0, Math.floor((offset - kHexBefore) / 16) * 16);
    const bytes = new Map();
    const take = (r) => {
      const other = this.rowData(r);
      if (!other) return false;
      if (other.length === 1 && this.nodes.kind[other[0]] === "file") return false;
      if (other.length >= 6 && typeof other[0] === "number") {
        for (let i = 0; i < other[1]; i++) bytes.set(other[0] + i, other[2].substr(i * 2, 2));
      }
      return true;
    };
    for (let r = row; r >= 0 && r > row - 400 && take(r); r--);
    for (let r = row + 1; r < this.outline.rows && r < row + 400 && take(r); r++);
    const lines = [];
    const el = MorvitSite.el;
    for (let line = start; line < start + kHexBytes; line += 16) {
      const cells = [el("span", { class: "gap" }, String(line).padStart(7) + "  ")];
      for (let at = line; at < line + 16; at++) {
        const byte = bytes.get(at);
        const marked = at >= offset && at < offset + width;
        if (at >= missingFrom) cells.push(el("span", { class: "missing", title: "missing: the file ends before" }, "--"), " ");
        else cells.push(el("span", { class: byte === undefined ? "gap" : "b" + (marked ? " hl" : "") }, byte === undefined ? ".." : byte), " ");
      }
      lines.push(el("div", {}, cells));
    }
    document.getElementById("hex").replaceChildren(...lines);
  }
}

// The bytes of `hex` as characters: printable ASCII as it is, any other byte as ".".
function Characters(hex) {
  let text = "";
  for (let i = 0; i + 1 < hex.length; i += 2) {
    const byte = parseInt(hex.substr(i, 2), 16);
    text += byte >= 0x20 && byte <= 0x7e ? String.fromCharCode(byte) : ".";
  }
  return text;
}

// The search box, its next and previous buttons, and "go to offset".
function WireSearch(view) {
  const box = document.getElementById("search"), count = document.getElementById("hits");
  let hits = [], at = -1, asked = "";
  const go = (step) => {
    if (!hits.length) return;
    at = (at + step + hits.length) % hits.length;
    count.textContent = (at + 1) + " of " + hits.length;
    view.reveal(hits[at]);
  };
  const run = async () => {
    const query = box.value;
    if (query === asked) return go(1);
    asked = query;
    count.textContent = "searching…";
    hits = await view.search(query);
    if (query !== box.value) return;
    view.hitSet = new Set(hits);
    at = -1;
    if (hits.length) go(1); else { count.textContent = query.trim() ? "no hits" : ""; view.draw(); }
  };
  // The search index is loaded while the query is typed.
  box.addEventListener("focus", () => view.searchIndex(), { once: true });
  box.addEventListener("keydown", (event) => { if (event.key === "Enter") { event.preventDefault(); event.shiftKey ? go(-1) : run(); } });
  document.getElementById("next").addEventListener("click", () => (box.value === asked ? go(1) : run()));
  document.getElementById("prev").addEventListener("click", () => go(-1));
  const target = document.getElementById("goto");
  const jump = async () => {
    const text = target.value.trim();
    const offset = /^0x[0-9a-f]+$/i.test(text) ? parseInt(text, 16) : /^[0-9]+$/.test(text) ? Number(text) : NaN;
    if (Number.isNaN(offset)) { count.textContent = "an offset is a number (or 0x and hex digits)"; return; }
    const row = await view.fieldAt(offset);
    count.textContent = row < 0 ? "no field at offset " + offset : "offset " + offset;
    if (row >= 0) view.reveal(row);
  };
  target.addEventListener("keydown", (event) => { if (event.key === "Enter") jump(); });
  document.getElementById("go").addEventListener("click", jump);
}

function ShowLinks(outline) {
  const el = MorvitSite.el;
  const links = [];
  outline.listing.forEach((src, i) => links.push(el("a", { href: src },
    outline.listing.length === 1 ? "text listing" : "text listing " + (i + 1) + "/" + outline.listing.length)));
  if (outline.listingOmitted) links.push(el("span", { class: "count" }, "no text listing for a domain this large (morvit view --listings)"));
  for (const relation of outline.related) links.push(el("a", { href: "domain.html?d=" + relation.id, class: "rel" }, relation.label));
  for (const diff of outline.diffs) links.push(el("a", { href: "diff.html?d=" + diff.id, class: "difflink" }, "diff " + diff.label));
  document.getElementById("links").replaceChildren(...links);
}

function ShowDomain(id, outline) {
  document.title = outline.name + " (" + outline.typeName + ")";
  document.getElementById("title").textContent = outline.name + ": " + outline.typeName + " (" + outline.type + ")";
  document.getElementById("sub").textContent = "scope " + outline.scope + ", version " + outline.version +
    ", object " + outline.object + ", " + outline.time + ", " + outline.rows.toLocaleString("en") + " rows" +
    (outline.clean ? "" : ", damaged: " + outline.problem);
  ShowLinks(outline);
  const view = new DomainView(id, outline);
  document.getElementById("expand").addEventListener("click", () => view.setAll(false));
  document.getElementById("collapse").addEventListener("click", () => view.setAll(true));
  WireSearch(view);
  window.morvitView = view;
}

(() => {
  const id = MorvitSite.param("d");
  if (!id) return MorvitSite.fail("No domain named (domain.html?d=ID).");
  MorvitSite.load("data/" + id + "/outline.js").then((outline) => ShowDomain(id, outline),
    (error) => MorvitSite.fail(error.message));
})();
