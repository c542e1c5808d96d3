// The page of one domain: its headers, sections and elements as a collapsible tree of fields,
// drawn lazily (only the rows in view exist, their data loaded in chunks), and a hex pane that
// marks the bytes of the field under the pointer.
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
        this.chunks.set(index, rows);
        this.schedule();
      }, (error) => MorvitSite.fail(error.message));
    }
    return null;
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
      div.className = "row node";
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
    const [offset, width, hex, value, label, depth] = data;
    div.className = "row field" + (row === this.pinned ? " pinned" : "");
    div.style.paddingLeft = 6 + depth * 16 + "px";
    div.replaceChildren(el("span", { class: "off" }, offset), el("span", { class: "hx" }, hex),
      el("span", { class: "val" }, value), el("span", { class: "lbl" }, this.outline.labels[label]));
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
    const [offset, width, hex, value, label] = data;
    document.getElementById("field").replaceChildren(
      MorvitSite.el("div", {}, "offset " + offset + ", " + width + " byte" + (width === 1 ? "" : "s")),
      MorvitSite.el("div", {}, "hex " + hex + ", value " + value),
      MorvitSite.el("div", {}, "label " + (this.outline.labels[label] || "(none)")));
    const start = Math.max(0, Math.floor((offset - kHexBefore) / 16) * 16);
    const bytes = new Map();
    const take = (r) => {
      const other = this.rowData(r);
      if (!other) return false;
      if (other.length === 1 && this.nodes.kind[other[0]] === "file") return false;
      if (other.length === 6) {
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
        cells.push(el("span", { class: byte === undefined ? "gap" : "b" + (marked ? " hl" : "") }, byte === undefined ? ".." : byte), " ");
      }
      lines.push(el("div", {}, cells));
    }
    document.getElementById("hex").replaceChildren(...lines);
  }
}

function ShowLinks(outline) {
  const el = MorvitSite.el;
  const links = [];
  if (outline.listing) links.push(el("a", { href: outline.listing }, "text listing"));
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
  window.morvitView = view;
}

(() => {
  const id = MorvitSite.param("d");
  if (!id) return MorvitSite.fail("No domain named (domain.html?d=ID).");
  MorvitSite.load("data/" + id + "/outline.js").then((outline) => ShowDomain(id, outline),
    (error) => MorvitSite.fail(error.message));
})();
