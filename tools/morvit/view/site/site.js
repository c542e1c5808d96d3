// Shared by every page of the site: loading data files (plain <script> files, so that the site
// opens from the file system without a server) and building elements from text, never markup.
"use strict";

const MorvitSite = {
  waiting: new Map(),

  // Loads a data file once; resolves with what the file hands to MorvitSite.deliver.
  load(src) {
    if (!this.waiting.has(src)) {
      this.waiting.set(src, new Promise((resolve, reject) => {
        const script = document.createElement("script");
        script.src = src;
        script.onerror = () => reject(new Error(src + " could not be loaded"));
        script.dataset.src = src;
        this.pending = this.pending || new Map();
        this.pending.set(src, resolve);
        document.head.appendChild(script);
      }));
    }
    return this.waiting.get(src);
  },

  // Called by every data file with its own name and its content.
  deliver(src, data) {
    const resolve = this.pending && this.pending.get(src);
    if (resolve) {
      this.pending.delete(src);
      resolve(data);
    }
  },

  // Page arguments come from the query string; ids name files of the site, so only letters
  // and digits pass.
  param(name) {
    const value = new URLSearchParams(location.search).get(name) || "";
    return /^[a-z0-9]+$/.test(value) ? value : "";
  },

  // An element with attributes and children; strings become text nodes, so nothing from a
  // domain file or its name is ever read as markup.
  el(tag, attributes, ...children) {
    const node = document.createElement(tag);
    for (const [key, value] of Object.entries(attributes || {})) {
      if (value === undefined || value === null) continue;
      if (key === "class") node.className = value;
      else if (key.startsWith("on")) node.addEventListener(key.slice(2), value);
      else node.setAttribute(key, value);
    }
    for (const child of children.flat()) {
      if (child === undefined || child === null) continue;
      node.appendChild(typeof child === "object" ? child : document.createTextNode(String(child)));
    }
    return node;
  },

  fail(message) {
    document.querySelector("main").replaceChildren(MorvitSite.el("p", { class: "damaged" }, message));
  },
};
